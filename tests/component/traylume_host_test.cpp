// Hosting a control as a form does: the client site at the moment the
// control asks for it, the saved state through a property bag, the event
// sink on the control's own event interface, and the ordered teardown that
// lets the control go at once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <olectl.h>

#include "common/com_object.h"
#include "common/unique_handle.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "component/traylume_host.h"
#include "tests/component/recording_events.h"
#include "tests/support/com_test.h"
#include "tests/support/fake_traylume.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace dispid = contract::dispid;

constexpr wchar_t kToolTip[] = L"ツールチップのテストです。";

class TraylumeHostTest : public testing_support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    fake = fakes::MakeFakeTraylume();
    ASSERT_TRUE(fake);
    saved = fakes::MakeFakeTraylume(RGB(128, 128, 128));  // its icon is the saved picture
    state.icon = saved->icon;
    state.toolTipText = kToolTip;
    window.reset(::CreateWindowExW(0, L"STATIC", L"Form1", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
  }
  void TearDown() override {
    host.Close();
    state = component::SavedState();
    saved.reset();
    fake.reset();
    window.reset();
    ComTest::TearDown();
  }

  common::ComPtr<IUnknown> FakeUnknown() const {
    common::ComPtr<IUnknown> unknown;
    fake.As(&unknown);
    return unknown;
  }
  common::ComResult Attach() { return host.Attach(FakeUnknown(), state, window.get(), &events); }

  common::ComPtr<fakes::FakeTraylume> fake;
  common::ComPtr<fakes::FakeTraylume> saved;
  component::SavedState state;
  common::UniqueWindow window;
  binding_tests::RecordingEvents events;
  component::TraylumeHost host;
};

TEST_F(TraylumeHostTest, SiteFirstOnlyWhenAskedThenTheFourSavedValuesThenTheSink) {
  const std::wstring extents[] = {L"bag _extentx VT_I4 847", L"bag _extenty VT_I4 847"};
  const std::wstring tip = L"bag tooltiptext VT_BSTR ツールチップのテストです。";
  ASSERT_TRUE(Attach());
  EXPECT_THAT(fake->log, ElementsAre(L"setclientsite", extents[0], extents[1], L"bag icon VT_DISPATCH", tip, L"advise"));
  EXPECT_EQ(fake->loadedIcon.get(), saved->icon.get());
  EXPECT_EQ(fake->loadedToolTipText, kToolTip);
  EXPECT_EQ(fake->SinkCount(), 1u);
  EXPECT_TRUE(host.attached());
  EXPECT_EQ(host.control().get(), static_cast<IDispatch*>(fake.get()));
  host.Close();

  // A control that does not ask for its site first gets it after the saved
  // state; without a saved picture the bag has no icon value.
  fake = fakes::MakeFakeTraylume();
  fake->miscStatus = OLEMISC_INVISIBLEATRUNTIME;
  state.icon.reset();
  ASSERT_TRUE(Attach());
  EXPECT_THAT(fake->log, ElementsAre(extents[0], extents[1], L"bag icon VT_EMPTY", tip, L"setclientsite", L"advise"));
}

TEST_F(TraylumeHostTest, SiteNamesTheFormsWindowAndSaysUserMode) {
  ASSERT_TRUE(Attach());
  ASSERT_TRUE(fake->clientSite);

  common::ComPtr<IOleWindow> oleWindow;
  ASSERT_EQ(fake->clientSite.As(&oleWindow), S_OK);
  HWND reported = nullptr;
  EXPECT_EQ(oleWindow->GetWindow(&reported), S_OK);
  EXPECT_EQ(reported, window.get());

  common::ComPtr<IDispatch> ambient;
  ASSERT_EQ(fake->clientSite.As(&ambient), S_OK);
  DISPPARAMS none{};
  common::UniqueVariant userMode;
  ASSERT_EQ(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, userMode.get(),
                            nullptr, nullptr),
            S_OK);
  EXPECT_EQ(userMode.type(), VT_BOOL);
  EXPECT_EQ(V_BOOL(userMode.get()), VARIANT_TRUE);
  common::UniqueVariant unknownAmbient;
  EXPECT_EQ(ambient->Invoke(DISPID_AMBIENT_BACKCOLOR, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                            unknownAmbient.get(), nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);

  common::ComPtr<IOleContainer> container;
  EXPECT_EQ(fake->clientSite->GetContainer(container.put()), E_NOINTERFACE);
  EXPECT_FALSE(container);
  EXPECT_EQ(fake->clientSite->ShowObject(), S_OK);
}

TEST_F(TraylumeHostTest, EventsReachTheHandler) {
  ASSERT_TRUE(Attach());
  fake->Fire(dispid::kMouseDown, contract::kLeftButton);
  fake->Fire(dispid::kMouseMove);
  fake->Fire(dispid::kMouseUp, contract::kRightButton, /*byReference=*/false);
  EXPECT_THAT(events.calls, ElementsAre(L"MouseDown 1", L"MouseMove", L"MouseUp 2"));
}

TEST_F(TraylumeHostTest, EventInterfaceIsFoundInTheTypeInfoWhenGetGuidFails) {
  fake->answerDefaultSourceGuid = false;
  const common::ComResult result = Attach();
  ASSERT_TRUE(result) << result.operation.c_str() << " " << result.description.c_str();
  EXPECT_EQ(fake->SinkCount(), 1u);
  fake->Fire(dispid::kBalloonClick);
  EXPECT_THAT(events.calls, ElementsAre(L"BalloonClick"));
}

TEST_F(TraylumeHostTest, WithoutAnEventHandlerNothingIsAdvised) {
  ASSERT_TRUE(host.Attach(FakeUnknown(), state, window.get(), nullptr));
  EXPECT_EQ(fake->SinkCount(), 0u);
  EXPECT_EQ(fake->log.back(), L"bag tooltiptext VT_BSTR ツールチップのテストです。");
}

TEST_F(TraylumeHostTest, CloseUnadvisesClosesClearsTheSiteAndLetsGo) {
  ASSERT_TRUE(Attach());
  fake->ClearLog();
  host.Close();
  EXPECT_THAT(fake->log, ElementsAre(L"unadvise", L"close", L"setclientsite null"));
  EXPECT_EQ(fake->SinkCount(), 0u);
  EXPECT_FALSE(fake->clientSite);
  EXPECT_FALSE(host.attached());
  EXPECT_FALSE(host.control().get());
  EXPECT_EQ(fake->References(), 1u);  // the test's own

  host.Close();  // again: nothing more happens
  EXPECT_THAT(fake->log, ElementsAre(L"unadvise", L"close", L"setclientsite null"));
}

TEST_F(TraylumeHostTest, DestroyingTheHostOrAttachingAnotherControlClosesTheFirstInTheSameOrder) {
  {
    component::TraylumeHost scoped;
    ASSERT_TRUE(scoped.Attach(FakeUnknown(), state, window.get(), &events));
    fake->ClearLog();
  }
  EXPECT_THAT(fake->log, ElementsAre(L"unadvise", L"close", L"setclientsite null"));
  EXPECT_EQ(fake->References(), 1u);

  auto second = fakes::MakeFakeTraylume();
  ASSERT_TRUE(Attach());
  fake->ClearLog();
  common::ComPtr<IUnknown> secondUnknown;
  ASSERT_EQ(second.As(&secondUnknown), S_OK);
  ASSERT_TRUE(host.Attach(secondUnknown, state, window.get(), &events));
  EXPECT_THAT(fake->log, ElementsAre(L"unadvise", L"close", L"setclientsite null"));
  EXPECT_EQ(fake->References(), 1u);
  EXPECT_EQ(second->SinkCount(), 1u);
  host.Close();
}

TEST_F(TraylumeHostTest, EventsAfterCloseDoNotReachTheHandler) {
  fake->keepSinksOnUnadvise = true;  // a control that still calls its old sink
  ASSERT_TRUE(Attach());
  host.Close();
  ASSERT_EQ(fake->SinkCount(), 1u);
  fake->Fire(dispid::kMouseDown, contract::kLeftButton);
  fake->Fire(dispid::kBalloonShow);
  EXPECT_THAT(events.calls, IsEmpty());
}

// An object that is no automation object at all.
class NotAControl : public common::ComObject<IPersist> {
 public:
  STDMETHODIMP GetClassID(CLSID* clsid) override {
    *clsid = CLSID_NULL;
    return S_OK;
  }
};

TEST_F(TraylumeHostTest, AnObjectWithoutIDispatchIsRefused) {
  auto object = common::make<NotAControl>();
  common::ComPtr<IUnknown> unknown;
  ASSERT_EQ(object.As(&unknown), S_OK);
  const common::ComResult result = host.Attach(unknown, state, window.get(), &events);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.hr, E_NOINTERFACE);
  EXPECT_EQ(result.operation, L"IDispatch");
  host.Close();
  unknown.reset();
  object.reset();
}

}  // namespace

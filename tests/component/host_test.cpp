// Hosting the control as a form does: the site before the saved state when
// the control asks for it, events to the window, and the teardown in order.
#include <gtest/gtest.h>

#include "component/traylume_host.h"
#include "contract/traylume_contract.h"
#include "tests/component/heard_events.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_proxy.h"
#include "traylume/tray_window.h"
#include "traylume_idl.h"

namespace {

using Calls = std::vector<std::wstring>;

class HostTest : public support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_EQ(support::CreateControl(&real), S_OK);
    proxy = common::make<support::RecordingProxy>(real);
  }
  void TearDown() override {
    host.Close();
    proxy.reset();
    real.reset();
    ComTest::TearDown();
  }
  common::ComResult Attach(const component::SavedState& state) {
    return host.Attach(common::ComPtr<IUnknown>(static_cast<IDispatch*>(proxy.get())), state, nullptr, &heard);
  }
  // How many sinks the control has: what is still advised on its events.
  ULONG Connections() const {
    common::ComPtr<IConnectionPointContainer> container;
    common::ComPtr<IConnectionPoint> point;
    common::ComPtr<IEnumConnections> connections;
    real.As(&container);
    container->FindConnectionPoint(DIID_ITraylumeEvents, point.put());
    point->EnumConnections(connections.put());
    ULONG count = 0;
    for (CONNECTDATA data{}; connections->Next(1, &data, nullptr) == S_OK; ++count) data.pUnk->Release();
    return count;
  }

  common::ComPtr<IDispatch> real;
  common::ComPtr<support::RecordingProxy> proxy;
  component_tests::HeardEvents heard;
  component::TraylumeHost host;
};

TEST_F(HostTest, AttachGivesTheSiteFirstThenTheSavedStatePassesEventsOnAndCloseUndoesItInOrder) {
  component::SavedState state;
  state.toolTipText = L"保存された";
  state.extentX = 100;
  state.extentY = 200;
  state.icon = support::SolidIconPicture(RGB(0, 90, 0));
  ASSERT_TRUE(Attach(state).ok());
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load"}));
  EXPECT_EQ(support::Shown(real.get(), contract::dispid::kToolTipText), L"VT_BSTR 保存された");
  EXPECT_EQ(V_DISPATCH(support::Get(real.get(), contract::dispid::kIcon).value.get()), state.icon.get());
  common::ComPtr<IOleObject> ole;
  SIZEL extent{};
  ASSERT_EQ(real.As(&ole), S_OK);
  ole->GetExtent(DVASPECT_CONTENT, &extent);
  EXPECT_EQ(std::make_pair(extent.cx, extent.cy), std::make_pair(100L, 200L));
  EXPECT_EQ(Connections(), 1u);
  const HWND window = ::FindWindowExW(nullptr, nullptr, traylume::kTrayWindowClass, nullptr);
  ::SendMessageW(window, traylume::kCallbackMessage, traylume::kIconId, WM_RBUTTONDOWN);
  EXPECT_EQ(heard.events, Calls{L"MouseDown 2"});

  // No more events, the control closes with its site, lets go of it, and goes.
  host.Close();
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"Close", L"SetClientSite(null)"}));
  EXPECT_EQ(Connections(), 0u);
  ::SendMessageW(window, traylume::kCallbackMessage, traylume::kIconId, WM_MOUSEMOVE);
  EXPECT_EQ(heard.events.size(), 1u);
  EXPECT_EQ(proxy->AddRef(), 2u) << "the host still holds the control";
  proxy->Release();
}

TEST_F(HostTest, AFailedStepIsNamedAndWhatWasDoneBeforeItStays) {
  proxy->Fail(L"Load", E_ACCESSDENIED);
  const common::ComResult result = Attach({});
  EXPECT_EQ(result.hr, E_ACCESSDENIED);
  EXPECT_NE(result.operation.find(L"Load"), std::wstring::npos);
  EXPECT_TRUE(host.control().get()) << "the control is still there to talk to";
  EXPECT_EQ(Connections(), 0u) << "advised before the failed step";
}

}  // namespace

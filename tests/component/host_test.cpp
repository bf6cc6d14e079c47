// Hosting the control as a form does: the site before the saved state when
// the control asks for it, events to the window, and the teardown in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/traylume_host.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_proxy.h"
#include "traylume/tray_window.h"
#include "traylume_idl.h"

namespace {

struct Heard final : component::TraylumeEvents {
  std::vector<std::wstring> events;
  void MouseDown(short b) override { events.push_back(L"MouseDown " + std::to_wstring(b)); }
  void MouseMove() override { events.push_back(L"MouseMove"); }
  void MouseUp(short) override {}
  void DblClick(short) override {}
  void BalloonShow() override {}
  void BalloonClose() override {}
  void BalloonClick() override {}
};

class HostTest : public support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_EQ(support::CreateControl(&real), S_OK);
    proxy = common::make<support::RecordingProxy>(real);
    window = ::FindWindowExW(nullptr, nullptr, traylume::kTrayWindowClass, nullptr);
  }
  void TearDown() override {
    host.Close();
    proxy.reset();
    real.reset();
    ComTest::TearDown();
  }
  // The control's connections: what is still advised on its events.
  ULONG Connections() const {
    common::ComPtr<IConnectionPointContainer> container;
    common::ComPtr<IConnectionPoint> point;
    common::ComPtr<IEnumConnections> connections;
    real.As(&container);
    container->FindConnectionPoint(DIID_ITraylumeEvents, point.put());
    point->EnumConnections(connections.put());
    ULONG count = 0;
    CONNECTDATA data{};
    while (connections->Next(1, &data, nullptr) == S_OK) {
      data.pUnk->Release();
      ++count;
    }
    return count;
  }

  common::ComPtr<IDispatch> real;
  common::ComPtr<support::RecordingProxy> proxy;
  HWND window = nullptr;
  Heard heard;
  component::TraylumeHost host;
};

TEST_F(HostTest, AttachGivesTheSiteFirstThenTheSavedStateAndPassesEventsOn) {
  component::SavedState state;
  state.toolTipText = L"保存された";
  state.extentX = 100;
  state.extentY = 200;
  state.icon = support::SolidIconPicture(RGB(0, 90, 0));
  ASSERT_TRUE(host.Attach(common::ComPtr<IUnknown>(static_cast<IDispatch*>(proxy.get())), state, nullptr, &heard).ok());
  EXPECT_EQ(proxy->calls, (std::vector<std::wstring>{L"SetClientSite", L"Load"}));
  EXPECT_EQ(support::Shown(real.get(), contract::dispid::kToolTipText), L"VT_BSTR 保存された");
  const support::Outcome icon = support::Get(real.get(), contract::dispid::kIcon);
  EXPECT_EQ(V_DISPATCH(icon.value.get()), state.icon.get());
  EXPECT_EQ(Connections(), 1u);
  common::ComPtr<IOleObject> ole;
  SIZEL extent{};
  ASSERT_EQ(real.As(&ole), S_OK);
  ole->GetExtent(DVASPECT_CONTENT, &extent);
  EXPECT_EQ(extent.cx, 100);
  EXPECT_EQ(extent.cy, 200);

  ASSERT_TRUE(window);
  ::SendMessageW(window, traylume::kCallbackMessage, traylume::kIconId, WM_RBUTTONDOWN);
  EXPECT_EQ(heard.events, std::vector<std::wstring>{L"MouseDown 2"});

  // No more events, the control closes with its site, lets go of it, and goes.
  host.Close();
  EXPECT_EQ(proxy->calls, (std::vector<std::wstring>{L"SetClientSite", L"Load", L"Close", L"SetClientSite(null)"}));
  EXPECT_EQ(Connections(), 0u);
  ::SendMessageW(window, traylume::kCallbackMessage, traylume::kIconId, WM_MOUSEMOVE);
  EXPECT_EQ(heard.events.size(), 1u);
  const ULONG references = proxy->AddRef();
  proxy->Release();
  EXPECT_EQ(references, 2u) << "the host still holds the control";
}

TEST_F(HostTest, AFailedStepIsNamedAndWhatWasDoneBeforeItStays) {
  proxy->Fail(L"Load", E_ACCESSDENIED);
  const common::ComResult result =
      host.Attach(common::ComPtr<IUnknown>(static_cast<IDispatch*>(proxy.get())), {}, nullptr, &heard);
  EXPECT_EQ(result.hr, E_ACCESSDENIED);
  EXPECT_NE(result.operation.find(L"Load"), std::wstring::npos);
  EXPECT_TRUE(host.control().get()) << "the control is still there to talk to";
  EXPECT_EQ(Connections(), 0u) << "advised before the failed step";
}

}  // namespace

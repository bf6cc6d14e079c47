// The sink the program advises on the control (Button read safely, calls that
// fit no event refused), and hosting: site, saved state, teardown in order.
#include <gtest/gtest.h>

#include "common/bstr.h"
#include "component/event_sink.h"
#include "component/traylume_host.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_proxy.h"
#include "traylume/tray_window.h"
#include "traylume_idl.h"

namespace {

// What the window would hear of the control's events, written down.
struct HeardEvents final : component::TraylumeEvents {
  std::vector<std::wstring> events;
  void MouseDown(short b) override { events.push_back(L"MouseDown " + std::to_wstring(b)); }
  void MouseMove() override { events.push_back(L"MouseMove"); }
  void MouseUp(short b) override { events.push_back(L"MouseUp " + std::to_wstring(b)); }
  void DblClick(short b) override { events.push_back(L"DblClick " + std::to_wstring(b)); }
  void BalloonShow() override { events.push_back(L"BalloonShow"); }
  void BalloonClose() override { events.push_back(L"BalloonClose"); }
  void BalloonClick() override { events.push_back(L"BalloonClick"); }
};


namespace dispid = contract::dispid;
using EventSinkTest = support::ComTest;

TEST_F(EventSinkTest, AButtonIsReadByReferenceByValueOrConvertedAndAnythingElseIsRefused) {
  const IID events = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
  HeardEvents heard;
  auto sink = common::make<component::EventSink>(&heard, events);
  common::ComPtr<IDispatch> asEvents;
  EXPECT_EQ(sink->QueryInterface(events, asEvents.put_void()), S_OK);
  short left = contract::kLeftButton;
  VARIANT byReference;
  V_VT(&byReference) = VT_I2 | VT_BYREF, V_I2REF(&byReference) = &left;
  const struct {
    const char* name;
    DISPID id;
    std::vector<VARIANT> arguments;
    std::optional<DISPID> named;
    HRESULT expected;
    UINT argError;
    const wchar_t* heard;
  } cases[] = {
      {"by reference", dispid::kMouseDown, {byReference}, {}, S_OK, ~0u, L"MouseDown 1"},
      {"by value", dispid::kMouseUp, {support::I4(2)}, {}, S_OK, ~0u, L"MouseUp 2"},
      {"no button", dispid::kMouseDown, {}, {}, DISP_E_PARAMNOTFOUND, 0, nullptr},
      {"button too large", dispid::kMouseUp, {support::I4(70000)}, {}, DISP_E_OVERFLOW, 0, nullptr},
      {"argument to MouseMove", dispid::kMouseMove, {byReference}, {}, DISP_E_BADPARAMCOUNT, ~0u, nullptr},
      {"two buttons", dispid::kMouseDown, {byReference, byReference}, {}, DISP_E_BADPARAMCOUNT, ~0u, nullptr},
      {"named", dispid::kMouseDown, {byReference}, 1, DISP_E_NONAMEDARGS, ~0u, nullptr},
      {"no such event", 99, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u, nullptr},
  };
  for (const auto& c : cases) {
    heard.events.clear();
    const support::Outcome outcome = support::Invoke(sink.get(), c.id, DISPATCH_METHOD, c.arguments, c.named);
    EXPECT_EQ(outcome.hr, c.expected) << c.name;
    EXPECT_EQ(outcome.argError, c.argError) << c.name;
    EXPECT_EQ(heard.events, c.heard ? std::vector<std::wstring>{c.heard} : std::vector<std::wstring>{}) << c.name;
  }
  EXPECT_EQ(support::Get(sink.get(), dispid::kMouseMove).hr, DISP_E_MEMBERNOTFOUND) << "a property read";
  EXPECT_TRUE(heard.events.empty());
  sink->Disconnect();
  heard.events.clear();
  EXPECT_EQ(support::Invoke(sink.get(), dispid::kMouseMove, DISPATCH_METHOD).hr, S_OK);
  EXPECT_TRUE(heard.events.empty()) << "a disconnected sink passes events on";
}

using Calls = std::vector<std::wstring>;

using HostTest = support::ComTest;

TEST_F(HostTest, AttachGivesTheSiteFirstThenTheSavedStateAndCloseUndoesItInOrder) {
  common::ComPtr<IDispatch> real;
  ASSERT_EQ(support::CreateControl(&real), S_OK);
  auto proxy = common::make<support::RecordingProxy>(real);
  HeardEvents heard;
  component::TraylumeHost host;
  component::SavedState state;
  state.toolTipText = L"保存された";
  state.extentX = 100;
  state.extentY = 200;
  state.icon = support::SolidIconPicture(RGB(0, 90, 0));
  ASSERT_TRUE(host.Attach(common::ComPtr<IUnknown>(static_cast<IDispatch*>(proxy.get())), state, nullptr, &heard).ok());
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load"}));
  EXPECT_EQ(support::Shown(real.get(), contract::dispid::kToolTipText), L"VT_BSTR 保存された");
  EXPECT_EQ(V_DISPATCH(support::Get(real.get(), contract::dispid::kIcon).value.get()), state.icon.get());
  common::ComPtr<IOleObject> ole;
  SIZEL extent{};
  ASSERT_EQ(real.As(&ole), S_OK);
  ole->GetExtent(DVASPECT_CONTENT, &extent);
  EXPECT_EQ(std::make_pair(extent.cx, extent.cy), std::make_pair(100L, 200L));
  const HWND window = ::FindWindowExW(nullptr, nullptr, traylume::kTrayWindowClass, nullptr);

  // No more events (not even from a control that keeps its sinks), the
  // control closes with its site, lets go of it, and goes.
  ASSERT_EQ(support::EventSinksOf(real).size(), 1u);
  common::ComPtr<IDispatch> kept = support::EventSinksOf(real).at(0);
  host.Close();
  EXPECT_EQ(support::Invoke(kept.get(), contract::dispid::kMouseMove, DISPATCH_METHOD).hr, S_OK);
  kept.reset();
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"Close", L"SetClientSite(null)"}));
  EXPECT_EQ(support::EventSinksOf(real).size(), 0u);
  ::SendMessageW(window, traylume::kCallbackMessage, traylume::kIconId, WM_MOUSEMOVE);
  EXPECT_TRUE(heard.events.empty());
  EXPECT_EQ(proxy->AddRef(), 2u) << "the host still holds the control";
  proxy->Release();
}

}  // namespace

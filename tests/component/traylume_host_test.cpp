// Hosting the control as a form does: site, saved state, events found
// through the control's class information, and teardown in order.
#include <gtest/gtest.h>

#include "component/traylume_host.h"
#include "contract/traylume_contract.h"
#include "tests/component/heard_events.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_proxy.h"
#include "traylume/tray_window.h"

namespace component_tests {
namespace {

using Calls = std::vector<std::wstring>;
using HostTest = support::ComTest;

// The tray callback of a mouse move, as the shell sends it to the one control's window.
void MoveTheMouseOverTheIcon() {
  const HWND window = ::FindWindowExW(nullptr, nullptr, traylume::kTrayWindowClass, nullptr);
  ::SendMessageW(window, traylume::kCallbackMessage, traylume::kIconId, WM_MOUSEMOVE);
}

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
  EXPECT_EQ(support::Shown(real.get(), contract::dispid::kToolTipText), L"VT_BSTR 保存された");
  EXPECT_EQ(V_DISPATCH(support::Get(real.get(), contract::dispid::kIcon).value.get()), state.icon.get());
  common::ComPtr<IOleObject> ole;
  SIZEL extent{};
  ASSERT_EQ(real.As(&ole), S_OK);
  ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, 100);
  EXPECT_EQ(extent.cy, 200);

  // No more events (not even from a control that keeps its sinks), and the
  // control closes with its site, then lets go of it.
  common::ComPtr<IDispatch> kept = support::EventSinksOf(real).at(0);
  host.Close();
  EXPECT_EQ(support::Invoke(kept.get(), contract::dispid::kMouseMove, DISPATCH_METHOD).hr, S_OK);
  kept.reset();
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"Close", L"SetClientSite(null)"}));
  EXPECT_EQ(support::EventSinksOf(real).size(), 0u);
  EXPECT_TRUE(heard.events.empty());
}

// Someone else's control: the real one behind class information that
// names its events through GetGUID, through the coclass, or not at all.
struct Foreign final : common::ComObject<IDispatch, IProvideClassInfo2, IConnectionPointContainer> {
  explicit Foreign(common::ComPtr<IDispatch> control) : real(std::move(control)) {
    real.As(&info);
    real.As(&points);
  }
  common::ComPtr<IDispatch> real;
  common::ComPtr<IProvideClassInfo2> info;
  common::ComPtr<IConnectionPointContainer> points;
  HRESULT guidAnswer = S_OK;  // what GetGUID answers when it fails
  bool coclass = true;        // else GetClassInfo gives the dispinterface, which names no events

  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return real->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return real->GetTypeInfo(i, l, t); }
  STDMETHODIMP GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return real->GetIDsOfNames(r, n, c, l, d);
  }
  STDMETHODIMP Invoke(DISPID d, REFIID r, LCID l, WORD w, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e, UINT* a) override {
    return real->Invoke(d, r, l, w, p, v, e, a);
  }
  STDMETHODIMP GetClassInfo(ITypeInfo** type) override {
    return coclass ? info->GetClassInfo(type) : real->GetTypeInfo(0, 0, type);
  }
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
    return FAILED(guidAnswer) ? guidAnswer : info->GetGUID(kind, guid);
  }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** found) override {
    return points->EnumConnectionPoints(found);
  }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    return points->FindConnectionPoint(iid, point);
  }
  void* QueryExtra(REFIID iid) override {
    return iid == IID_IProvideClassInfo ? static_cast<IProvideClassInfo2*>(this) : nullptr;
  }
};

TEST_F(HostTest, EventsAreFoundThroughTheCoclassWhenGetGuidFailsAndAttachFailsWhenNeitherNamesThem) {
  const struct {
    const char* name;
    HRESULT guidAnswer;
    bool coclass;
    HRESULT attached;
    Calls heard;
  } cases[] = {
      {"only the coclass names them", E_NOTIMPL, true, S_OK, {L"MouseMove"}},
      {"neither names them", E_NOTIMPL, false, E_NOTIMPL, {}},
  };
  for (const auto& c : cases) {
    common::ComPtr<IDispatch> real;
    ASSERT_EQ(support::CreateControl(&real), S_OK);
    auto foreign = common::make<Foreign>(real);
    foreign->guidAnswer = c.guidAnswer;
    foreign->coclass = c.coclass;
    HeardEvents heard;
    component::TraylumeHost host;
    const common::ComResult result =
        host.Attach(common::ComPtr<IUnknown>(static_cast<IDispatch*>(foreign.get())), {}, nullptr, &heard);
    EXPECT_EQ(result.hr, c.attached) << c.name;
    MoveTheMouseOverTheIcon();
    EXPECT_EQ(heard.events, c.heard) << c.name;
    host.Close();
  }
}

}  // namespace
}  // namespace component_tests

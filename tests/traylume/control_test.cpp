#include "tests/traylume/control_test.h"

#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "traylume/tray_window.h"

namespace traylume_tests {

void ControlTest::SetUp() {
  ComTest::SetUp();
  ASSERT_TRUE(shell.installed());
  ASSERT_TRUE(system.installed());
  ASSERT_EQ(support::CreateControl(&control), S_OK);
  window_ = ::FindWindowExW(nullptr, nullptr, traylume::kTrayWindowClass, nullptr);  // no other control lives
  ASSERT_TRUE(window_) << "the control made no tray window";
}

void ControlTest::TearDown() {
  control.reset();
  EXPECT_FALSE(::IsWindow(window_)) << "the tray window outlives its control";
  ComTest::TearDown();
}

void ControlTest::Callback(UINT message) const {
  ::SendMessageW(window_, traylume::kCallbackMessage, traylume::kIconId, message);
}

void ControlTest::TaskBarCreated() const {
  ::SendMessageW(window_, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

bool ControlTest::PumpUntil(const std::function<bool()>& done) {
  constexpr DWORD kPatienceMs = 5000;
  const DWORD start = ::GetTickCount();
  while (!done()) {
    const DWORD waited = ::GetTickCount() - start;
    if (waited >= kPatienceMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPatienceMs - waited, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  return true;
}

std::vector<std::wstring> State(IDispatch* control) {
  std::vector<std::wstring> state;
  for (DISPID id : {contract::dispid::kBalloonText, contract::dispid::kAutoRefresh, contract::dispid::kBalloonSound, contract::dispid::kBalloon,
                    contract::dispid::kBalloonTitle, contract::dispid::kToolTipText, contract::dispid::kBalloonIcon}) {
    state.push_back(support::Shown(control, id));
  }
  const support::Outcome icon = support::Get(control, contract::dispid::kIcon);
  SIZEL extent{};
  common::ComPtr<IOleObject> ole;
  if (SUCCEEDED(common::ComPtr<IDispatch>(control).As(&ole))) ole->GetExtent(DVASPECT_CONTENT, &extent);
  state.push_back(std::to_wstring(reinterpret_cast<UINT_PTR>(V_DISPATCH(icon.value.get()))) + L" " +
                  std::to_wstring(extent.cx) + L"x" + std::to_wstring(extent.cy));
  return state;
}

}  // namespace traylume_tests

#include "tests/traylume/control_test.h"

#include <algorithm>
#include <string>
#include <vector>

#include "traylume/tray_window.h"

namespace traylume_tests {
namespace {

BOOL CALLBACK CollectTrayWindow(HWND window, LPARAM windows) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == traylume::kTrayWindowClass) reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::vector<HWND> TrayWindowsOfThisThread() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTrayWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

void ControlTest::SetUp() {
  ComTest::SetUp();
  ASSERT_TRUE(shell.installed());
  const auto before = TrayWindowsOfThisThread();
  ASSERT_EQ(support::CreateControl(&control), S_OK);
  for (HWND window : TrayWindowsOfThisThread()) {
    if (std::find(before.begin(), before.end(), window) == before.end()) window_ = window;
  }
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

}  // namespace traylume_tests

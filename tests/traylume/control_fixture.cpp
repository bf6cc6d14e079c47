#include "tests/traylume/control_fixture.h"

#include "tests/support/message_pump.h"

namespace traylume_tests {

using testing_support::PumpPending;

void ControlTest::SetUp() {
  ComTest::SetUp();
  shell_ = std::make_unique<ShellSpy>(OcxServer::Get().module());
  ASSERT_TRUE(shell_->installed()) << "Traylume.ocx not loaded from " << std::string(
      OcxServer::Get().path().begin(), OcxServer::Get().path().end());
  ASSERT_HRESULT_SUCCEEDED(OcxServer::Get().Create(&control_));
}

void ControlTest::TearDown() {
  control_.reset();
  PumpPending();
  shell_.reset();
  EXPECT_EQ(OcxServer::Get().CanUnloadNow(), S_OK) << "an object of Traylume.ocx is still alive";
  ComTest::TearDown();
}

common::ComPtr<IDispatch> ControlTest::NewControl() {
  common::ComPtr<IDispatch> control;
  EXPECT_HRESULT_SUCCEEDED(OcxServer::Get().Create(&control));
  return control;
}

HWND ControlTest::IconWindow() const {
  for (auto call = shell_->calls.rbegin(); call != shell_->calls.rend(); ++call) {
    if (call->data.hWnd) return call->data.hWnd;
  }
  return nullptr;
}

std::vector<ShellSpy::Call> ControlTest::CallsOf(DWORD message) const {
  std::vector<ShellSpy::Call> found;
  for (const auto& call : shell_->calls) {
    if (call.message == message) found.push_back(call);
  }
  return found;
}

namespace {

BOOL CALLBACK CollectTrayWindow(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == L"TraylumeTrayWindow") reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TrayWindowsOfThisThread() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTrayWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace traylume_tests

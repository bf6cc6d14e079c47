#pragma once
// A fresh Traylume control for each test, created through the server's
// class factory, with the shell's notification calls recorded. After each
// test the control is gone, the server must report no live object, and no
// object of the test's own (sinks, bags) may still be held.

#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "common/com_ptr.h"
#include "tests/support/com_test.h"
#include "tests/traylume/ocx_server.h"
#include "tests/traylume/shell_spy.h"

namespace traylume_tests {

class ControlTest : public testing_support::ComTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Another control, released like the first one at the end of the test.
  common::ComPtr<IDispatch> NewControl();

  // The hidden window the control's icon belongs to (from the shell's last
  // call about it), for posting tray callbacks.
  HWND IconWindow() const;

  // Calls recorded for message `message` (NIM_ADD...), in order.
  std::vector<ShellSpy::Call> CallsOf(DWORD message) const;

  common::ComPtr<IDispatch> control_;
  std::unique_ptr<ShellSpy> shell_;
};

// The windows of the control class on this thread.
std::vector<HWND> TrayWindowsOfThisThread();

}  // namespace traylume_tests

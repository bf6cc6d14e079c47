#pragma once
// Fixture of the control's tests: a new control, what it tells the shell
// recorded, and what it asks of the system answered as Windows would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "tests/support/com_test.h"
#include "tests/support/shell_spy.h"
#include "tests/support/system_hooks.h"

namespace traylume_tests {

class ControlTest : public support::ComTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The hidden window of the control made in SetUp.
  HWND TrayWindow() const { return window_; }
  // A tray callback, as the shell sends it (icon id in wParam, message in lParam).
  void Callback(UINT message) const;
  // The shell's announcement of its task bar, as Explorer broadcasts it.
  void TaskBarCreated() const;
  // Runs the thread's message loop until `done` holds; false when it does
  // not within a few seconds.
  static bool PumpUntil(const std::function<bool()>& done);

  support::ShellSpy shell{support::ControlModule()};
  support::SystemHooks system{support::ControlModule()};
  common::ComPtr<IDispatch> control;

 private:
  HWND window_ = nullptr;
};

// Everything a caller can see of `control`'s state, for comparing.
std::vector<std::wstring> State(IDispatch* control);

}  // namespace traylume_tests

#pragma once
// Form1 hosting the real control behind the recording proxy, the shell and
// message boxes recorded, and helpers to work it as a user would.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/form1.h"
#include "tests/support/com_test.h"
#include "tests/support/recording_proxy.h"
#include "tests/support/shell_spy.h"
#include "traylume/tray_window.h"

namespace app_tests {

using app::Ctl;

// Dispatches every message already queued, as the program's loop would.
inline void PumpPending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

class FormTest : public support::ComTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates Form1 (hidden) at `dpi`; Form_Load has run.
  void CreateForm(int dpi = 96);

  HWND Control(Ctl id) const { return form->Control(id); }
  std::wstring Text(Ctl id) const;
  bool Enabled(Ctl id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
  void SetText(Ctl id, const std::wstring& text) const {
    ::SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // Types into a text box, one WM_CHAR per character ('\r' is Enter).
  void Type(Ctl id, const std::wstring& text) const {
    for (wchar_t c : text) ::SendMessageW(Control(id), WM_CHAR, c, 0);
  }
  void Click(Ctl id) { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
  // A key pressed and let go where the focus is, as the program's loop
  // passes it on: to the form's own keys first, then to the focused control.
  void Press(UINT key, bool shift = false);
  // The system colour index whose brush the form paints `id` with.
  int Background(Ctl id) const;
  // The lines of lstEvent and its selected index.
  std::vector<std::wstring> LogLines() const;
  int LogSelection() const { return static_cast<int>(::SendMessageW(Control(Ctl::lstEvent), LB_GETCURSEL, 0, 0)); }
  // A tray callback to the control's window, as the shell sends it.
  void TrayCallback(UINT message) const {
    HWND tray = ::FindWindowExW(nullptr, nullptr, traylume::kTrayWindowClass, nullptr);
    ::SendMessageW(tray, traylume::kCallbackMessage, traylume::kIconId, message);
  }
  // The colour control `id` paints at (x, y) of its client area.
  COLORREF Pixel(Ctl id, int x, int y) const;
  COLORREF Preview(int x, int y) const { return Pixel(Ctl::picIcon, x, y); }

  support::ShellSpy shell{support::ControlModule()};
  common::ComPtr<IDispatch> real;
  common::ComPtr<support::RecordingProxy> proxy;
  std::unique_ptr<app::Form1> form;
  std::vector<std::wstring> messages;  // the texts of the message boxes shown

 private:
  long liveWithoutForm_ = 0;
};

}  // namespace app_tests

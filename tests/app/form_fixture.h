#pragma once
// Form1 hosting the recording fake, with its message boxes recorded instead
// of shown, and small helpers to look at the window as a user would.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/form1.h"
#include "tests/support/com_test.h"
#include "tests/support/fake_traylume.h"

namespace app_tests {

// The fake's icon: solid red.
constexpr COLORREF kFakeIconColor = RGB(255, 0, 0);

struct ShownMessage {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};

class FormTest : public testing_support::ComTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates Form1 (hidden) at `dpi`, hosting the fake; Form_Load has run.
  void CreateForm(int dpi = 96);
  // Creates and shows it, and lets it paint.
  void ShowForm(int dpi = 96);

  HWND Control(app::Ctl id) const { return form->Control(id); }
  std::wstring Text(app::Ctl id) const;
  bool Enabled(app::Ctl id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
  LRESULT CheckState(app::Ctl id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0); }
  // Types `text` into a text box, one WM_CHAR per character.
  void Type(app::Ctl id, const std::wstring& text);
  // Clicks a button or check box (BM_CLICK).
  void Click(app::Ctl id);
  // The lines of lstEvent and its selected index.
  std::vector<std::wstring> LogLines() const;
  int LogSelection() const;

  // What picIcon shows (its own painting, through WM_PRINTCLIENT), as
  // COLORREFs row by row over its client area.
  std::vector<COLORREF> PreviewPixels(SIZE* size = nullptr) const;
  // Whether every pixel of the 16 x 16 preview area is `color`.
  bool PreviewIsAll(COLORREF color) const;

  // Handles this thread's messages as the program's loop does (Tab goes to
  // the form first) until none is left.
  void PumpLikeProgram();

  // The fake's log since the last ClearLog.
  std::vector<std::wstring>& Calls() { return fake->log; }

  common::ComPtr<fakes::FakeTraylume> fake;
  std::unique_ptr<app::Form1> form;
  std::vector<ShownMessage> messages;
};

std::wstring WindowText(HWND window);
// The colour that system colour `index` stands for.
inline COLORREF SystemColor(int index) { return ::GetSysColor(index); }

}  // namespace app_tests

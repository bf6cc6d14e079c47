// Copying from the event log: the shortcut menu's two commands and Ctrl+C
// put plain Unicode text on the clipboard; the log stays as it was.
#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "tests/app/form_test.h"
#include "tests/support/message_pump.h"

namespace app_tests {
namespace {

using LogCopyTest = FormTest;

std::wstring ClipboardText() {
  if (!::OpenClipboard(nullptr)) return L"<clipboard not open>";
  std::wstring text = L"<no CF_UNICODETEXT>";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    common::GlobalMemoryLock chars(data);
    if (chars.get()) text = static_cast<const wchar_t*>(chars.get());
  }
  ::CloseClipboard();
  return text;
}

TEST_F(LogCopyTest, TheMenuCopiesTheSelectedLineOrEveryLineAndCtrlCTheSelectedOne) {
  CreateForm();
  form->Show(SW_SHOW);
  for (UINT callback : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) TrayCallback(callback);
  support::PumpPending();
  HWND log = Control(Ctl::lstEvent);
  ::SendMessageW(log, LB_SETCURSEL, 1, 0);  // the user picks the middle line
  const std::vector<std::wstring> lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  const std::pair<app::LogMenu, std::wstring> cases[] = {
      {app::LogMenu::mnuLogCopy, lines[1]},
      {app::LogMenu::mnuLogCopyAll, lines[0] + L"\r\n" + lines[1] + L"\r\n" + lines[2]},
  };
  for (const auto& [command, text] : cases) {
    ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(app::IdOf(command), 0), 0);
    EXPECT_EQ(ClipboardText(), text);
  }
  ::SetFocus(log);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  MSG ctrlC{log, WM_KEYDOWN, 'C', 0, 0, {}};
  if (!form->PreTranslateMessage(ctrlC)) ::DispatchMessageW(&ctrlC);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  ::SendMessageW(log, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(ClipboardText(), lines[1]);
  EXPECT_EQ(LogLines(), lines) << "copying changed the log";
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace app_tests

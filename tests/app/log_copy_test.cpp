// Copying from the event log: the shortcut menu's two commands and Ctrl+C
// put plain Unicode text on the clipboard; the log stays as it was.
#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "component/dispids.h"
#include "tests/app/form_fixture.h"

namespace app_tests {
namespace {

namespace dispid = traylume::dispid;

class LogCopy : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ShowForm();
    fake->Fire(dispid::kMouseDown, short{1});
    fake->Fire(dispid::kMouseMove);
    fake->Fire(dispid::kMouseUp, short{1});
    ::SendMessageW(Control(app::Ctl::lstEvent), LB_SETCURSEL, 1, 0);  // the user picks the middle line
    if (::OpenClipboard(nullptr)) {  // nothing left from before
      ::EmptyClipboard();
      ::CloseClipboard();
    }
  }

  static std::wstring ClipboardText() {
    if (!::OpenClipboard(nullptr)) return L"<clipboard not open>";
    std::wstring text = L"<no CF_UNICODETEXT>";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      common::GlobalMemoryLock chars(data);
      if (chars.get()) text = static_cast<const wchar_t*>(chars.get());
    }
    ::CloseClipboard();
    return text;
  }
};

TEST_F(LogCopy, MenuCommandsCopyTheSelectedLineOrEveryLineSeparatedByCrLf) {
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
  EXPECT_EQ(LogLines(), lines);
  EXPECT_EQ(LogSelection(), 1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(LogCopy, CtrlCInTheLogCopiesTheSelectedLine) {
  HWND log = Control(app::Ctl::lstEvent);
  ::SetFocus(log);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  ::PostMessageW(log, WM_KEYDOWN, 'C', 0);
  PumpLikeProgram();
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(ClipboardText(), LogLines()[1]);
  EXPECT_EQ(LogSelection(), 1);
}

}  // namespace
}  // namespace app_tests

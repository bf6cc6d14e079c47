// Copying from the event log: the shortcut menu of lstEvent offers コピー
// (the selected line) and すべてコピー (every line, CRLF between lines);
// Ctrl+C in the log is コピー. The log itself does not change.
#include "app/form1.h"
#include "app/texts.h"
#include "common/clipboard.h"
#include "common/hresult.h"

namespace app {

void Form1::lstEvent_ContextMenu(POINT screen) {
  HWND log = Control(Ctl::lstEvent);
  const int count = static_cast<int>(::SendMessageW(log, LB_GETCOUNT, 0, 0));
  const int selected = static_cast<int>(::SendMessageW(log, LB_GETCURSEL, 0, 0));
  if (screen.x == -1 && screen.y == -1) {
    // From the keyboard: below the selected line, else at the log's corner.
    RECT line{};
    if (selected >= 0) ::SendMessageW(log, LB_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&line));
    screen = POINT{line.left, line.bottom};
    ::ClientToScreen(log, &screen);
  }

  common::UniqueMenu menu(::CreatePopupMenu());
  if (!menu ||
      !::AppendMenuW(menu.get(), MF_STRING | (selected >= 0 ? MF_ENABLED : MF_GRAYED), IdOf(LogMenu::mnuLogCopy),
                     texts::kMnuLogCopy) ||
      !::AppendMenuW(menu.get(), MF_STRING | (count > 0 ? MF_ENABLED : MF_GRAYED), IdOf(LogMenu::mnuLogCopyAll),
                     texts::kMnuLogCopyAll)) {
    Check(common::ComResult::Failure(common::LastErrorHr(), texts::kShowLogMenu));
    return;
  }
  // The chosen command comes back as WM_COMMAND, to OnMenuCommand.
  ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(),
                   nullptr);
}

void Form1::mnuLogCopy_Click() {
  const int selected = static_cast<int>(::SendMessageW(Control(Ctl::lstEvent), LB_GETCURSEL, 0, 0));
  if (selected >= 0) CopyToClipboard(EventLogLine(selected));
}

void Form1::mnuLogCopyAll_Click() {
  const int count = static_cast<int>(::SendMessageW(Control(Ctl::lstEvent), LB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  std::wstring text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += L"\r\n";
    text += EventLogLine(i);
  }
  CopyToClipboard(text);
}

std::wstring Form1::EventLogLine(int index) const {
  HWND log = Control(Ctl::lstEvent);
  const LRESULT length = ::SendMessageW(log, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::wstring line(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(log, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
  line.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return line;
}

void Form1::CopyToClipboard(const std::wstring& text) {
  const HRESULT copied = common::SetClipboardText(hwnd(), text);
  if (FAILED(copied)) Check(common::ComResult::Failure(copied, texts::kCopyToClipboard));
}

}  // namespace app

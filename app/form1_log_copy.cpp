// Copying from the event log: the shortcut menu of lstEvent offers コピー
// (the selected line) and すべてコピー (every line, CRLF between lines);
// Ctrl+C in the log is コピー. The log itself does not change.
#include "app/form1.h"
#include "app/texts.h"
#include "common/clipboard.h"
#include "common/hresult.h"

namespace app {

void Form1::lstEvent_ContextMenu(POINT screen) {
  const int count = ListCount(Ctl::lstEvent);
  const int selected = ListIndex(Ctl::lstEvent);
  if (screen.x == -1 && screen.y == -1) {
    // From the keyboard: below the selected line, else at the log's corner.
    const RECT line = ItemScreenRect(Ctl::lstEvent, selected);
    screen = POINT{line.left, line.bottom};
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
  const int selected = ListIndex(Ctl::lstEvent);
  if (selected >= 0) CopyToClipboard(ItemText(Ctl::lstEvent, selected));
}

void Form1::mnuLogCopyAll_Click() {
  const int count = ListCount(Ctl::lstEvent);
  if (count <= 0) return;
  std::wstring text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += L"\r\n";
    text += ItemText(Ctl::lstEvent, i);
  }
  CopyToClipboard(text);
}

void Form1::CopyToClipboard(const std::wstring& text) {
  const HRESULT copied = common::SetClipboardText(hwnd(), text);
  if (FAILED(copied)) Check(common::ComResult::Failure(copied, texts::kCopyToClipboard));
}

}  // namespace app

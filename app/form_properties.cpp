// The properties of a form's controls, each for every kind of control it
// names: list boxes and combo boxes answer the same list properties.
#include "app/form.h"

#include <commctrl.h>

#include <algorithm>

namespace app {

std::wstring Form::Text(Ctl id) const {
  HWND window = Control(id);
  std::wstring text(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(window), 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form::SetText(Ctl id, const std::wstring& text) { ::SetWindowTextW(Control(id), text.c_str()); }

int Form::CheckValue(Ctl id) const { return static_cast<int>(::SendMessageW(Control(id), BM_GETCHECK, 0, 0)); }

void Form::SetEnabled(Ctl id, bool enabled) { ::EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void Form::SetBackColor(Ctl id, int colorIndex) {
  backColors_[id] = colorIndex;
  ::InvalidateRect(Control(id), nullptr, TRUE);
}

void Form::SetRedraw(Ctl id, bool on) {
  HWND window = Control(id);
  ::SendMessageW(window, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) ::InvalidateRect(window, nullptr, TRUE);
}

int Form::ListCount(Ctl id) const { return static_cast<int>(SendToList(id, LB_GETCOUNT, CB_GETCOUNT, 0, 0)); }

int Form::ListIndex(Ctl id) const { return static_cast<int>(SendToList(id, LB_GETCURSEL, CB_GETCURSEL, 0, 0)); }

void Form::SetListIndex(Ctl id, int index) { SendToList(id, LB_SETCURSEL, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::wstring Form::ItemText(Ctl id, int index) const {
  const LRESULT length = SendToList(id, LB_GETTEXTLEN, CB_GETLBTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendToList(id, LB_GETTEXT, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

long Form::ItemData(Ctl id, int index) const {
  return static_cast<long>(SendToList(id, LB_GETITEMDATA, CB_GETITEMDATA, index, 0));
}

int Form::AddItem(Ctl id, const wchar_t* text) {
  return static_cast<int>(SendToList(id, LB_ADDSTRING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

RECT Form::ItemScreenRect(Ctl id, int index) const {
  HWND list = ListWindow(id);
  RECT item{};
  if (index >= 0) ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  POINT corners[] = {{item.left, item.top}, {item.right, item.bottom}};
  for (POINT& corner : corners) ::ClientToScreen(list, &corner);
  return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

PictureBox* Form::Picture(Ctl id) const {
  const auto picture = pictures_.find(id);
  return picture == pictures_.end() ? nullptr : picture->second.get();
}

HWND Form::ListWindow(Ctl id) const {
  for (const ControlWindow& control : controls_) {
    if (control.id != id) continue;
    if (control.kind == Kind::ListBox) return control.window;
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    if (control.kind == Kind::ComboBox && ::GetComboBoxInfo(control.window, &combo)) return combo.hwndList;
  }
  return nullptr;
}

LRESULT Form::SendToList(Ctl id, UINT listBoxMessage, UINT comboBoxMessage, WPARAM wParam, LPARAM lParam) const {
  for (const ControlWindow& control : controls_) {
    if (control.id != id) continue;
    if (control.kind == Kind::ListBox) return ::SendMessageW(control.window, listBoxMessage, wParam, lParam);
    if (control.kind == Kind::ComboBox) return ::SendMessageW(control.window, comboBoxMessage, wParam, lParam);
  }
  return LB_ERR;
}

}  // namespace app

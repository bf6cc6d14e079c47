// The form's own Tab order: by tab index, skipping what cannot take the
// focus now, wrapping round; the first in that order has the focus when the
// window is shown.
#include "app/form.h"

#include <algorithm>

namespace app {

bool Form::TakesFocus(Kind kind) {
  switch (kind) {
    case Kind::ListBox:
    case Kind::TextBox:
    case Kind::CommandButton:
    case Kind::PictureBox:
    case Kind::CheckBox:
    case Kind::ComboBox:
      return true;
    default:
      return false;
  }
}

std::vector<const ControlSpec*> Form::TabOrder() const {
  std::vector<const ControlSpec*> order;
  for (const ControlSpec& row : layout_) {
    if (TakesFocus(row.kind) && row.tabIndex >= 0) order.push_back(&row);
  }
  std::sort(order.begin(), order.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
  return order;
}

void Form::Show(int showCommand) {
  ::ShowWindow(hwnd(), showCommand);
  ::UpdateWindow(hwnd());
  const std::vector<const ControlSpec*> order = TabOrder();
  if (!order.empty()) ::SetFocus(Control(order.front()->id));
}

bool Form::TranslateTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !hwnd()) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  if (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd)) return false;
  MoveFocus(::GetKeyState(VK_SHIFT) < 0);
  return true;
}

void Form::MoveFocus(bool backward) {
  const std::vector<const ControlSpec*> order = TabOrder();
  if (order.empty()) return;
  const Ctl current = ControlHolding(::GetFocus());
  const int count = static_cast<int>(order.size());
  int position = backward ? 0 : -1;
  for (int i = 0; i < count; ++i) {
    if (order[i]->id == current) position = i;
  }
  for (int step = 1; step <= count; ++step) {
    const int next = ((position + (backward ? -step : step)) % count + count) % count;
    HWND candidate = Control(order[next]->id);
    if (candidate && ::IsWindowEnabled(candidate) && ::IsWindowVisible(candidate)) {
      ::SetFocus(candidate);
      return;
    }
  }
}

Ctl Form::ControlHolding(HWND window) const {
  for (; window && window != hwnd(); window = ::GetParent(window)) {
    for (const ControlWindow& control : controls_) {
      if (control.window == window) return control.id;
    }
  }
  return Ctl::None;
}

}  // namespace app

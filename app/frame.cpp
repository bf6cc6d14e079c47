#include "app/frame.h"

#include <oleacc.h>

#include "app/accessible_object.h"
#include "app/control_ids.h"
#include "common/hresult.h"
#include "common/unique_handle.h"

namespace app {

Frame::~Frame() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

HRESULT Frame::Create(HWND parent, int id, const RECT& place, DWORD style, DWORD exStyle,
                      const wchar_t* accessibleName) {
  accessibleName_ = accessibleName;
  return CreateWindowOfClass(kFrameClass, parent, id, place, style, exStyle);
}

LRESULT Frame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETOBJECT:
      if (const LRESULT answer = AnswerGetObject(hwnd(), wParam, lParam, accessibleName_, ROLE_SYSTEM_GROUPING)) {
        return answer;
      }
      return Default(message, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return ForwardToParent(message, wParam, lParam);
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT Frame::ForwardToParent(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(::GetParent(hwnd()), message, wParam, lParam);
}

void Frame::OnSetFont(HFONT font, bool redraw) {
  font_ = font;
  if (redraw) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// The border runs through the middle of the first text line, where a group
// box draws it, so that a check box laid over the top edge reads as its title.
void Frame::Paint(HDC dc) {
  TEXTMETRICW metrics{};
  {
    common::SelectedObject selected(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextMetricsW(dc, &metrics);
  }
  RECT border{};
  ::GetClientRect(hwnd(), &border);
  border.top += metrics.tmHeight / 2;
  ::DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
}

}  // namespace app

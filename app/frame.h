#pragma once
// A frame: a container window drawn as an etched group box without a title.
// The controls inside it are its children, placed in its client area; their
// notifications go on to the frame's parent, the form, as if they were the
// form's own.

#include <windows.h>

#include "common/window_base.h"

namespace app {

class Frame : public common::WindowBase<Frame> {
 public:
  Frame() = default;
  ~Frame();


  // `accessibleName`: what screen readers call the group (kept, not copied).
  HRESULT Create(HWND parent, int id, const RECT& place, DWORD style, DWORD exStyle, const wchar_t* accessibleName);

 private:
  friend class common::WindowBase<Frame>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnSetFont(HFONT font, bool redraw);
  LRESULT ForwardToParent(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);

  HFONT font_ = nullptr;  // not owned: the form's font
  const wchar_t* accessibleName_ = nullptr;
};

}  // namespace app

#include "app/picture_box.h"

#include <algorithm>

#include <oleacc.h>

#include "app/accessible_object.h"
#include "app/control_ids.h"
#include "common/com_ptr.h"
#include "common/hresult.h"

namespace app {

PictureBox::~PictureBox() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

HRESULT PictureBox::Create(HWND parent, int id, const RECT& place, DWORD style, DWORD exStyle,
                           const wchar_t* accessibleName) {
  accessibleName_ = accessibleName;
  return CreateWindowOfClass(kPictureBoxClass, parent, id, place, style, exStyle);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_ERASEBKGND:
      return 1;  // the image covers the whole client area
    case WM_LBUTTONDOWN:
      OnLButtonDown();
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT answer = AnswerGetObject(hwnd(), wParam, lParam, accessibleName_, ROLE_SYSTEM_GRAPHIC)) {
        return answer;
      }
      return Default(message, wParam, lParam);
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT PictureBox::OnCreate() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  size_ = {client.right, client.bottom};
  common::WindowDc screen(nullptr);
  image_.reset(::CreateCompatibleBitmap(screen.get(), std::max<LONG>(size_.cx, 1), std::max<LONG>(size_.cy, 1)));
  imageDc_.reset(::CreateCompatibleDC(screen.get()));
  if (!image_ || !imageDc_) return -1;
  selected_.emplace(imageDc_.get(), image_.get());
  Clear();
  return 0;
}

void PictureBox::Clear() {
  if (!imageDc_) return;
  const RECT all{0, 0, size_.cx, size_.cy};
  ::FillRect(imageDc_.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

HRESULT PictureBox::Render(IPictureDisp* picture, int left, int top, int width, int height) {
  if (!picture) return E_POINTER;
  if (!imageDc_) return E_UNEXPECTED;
  common::ComPtr<IPicture> drawable;
  RETURN_IF_FAILED(common::ComPtr<IPictureDisp>(picture).As(&drawable));
  OLE_XSIZE_HIMETRIC sourceWidth = 0;
  OLE_YSIZE_HIMETRIC sourceHeight = 0;
  RETURN_IF_FAILED(drawable->get_Width(&sourceWidth));
  RETURN_IF_FAILED(drawable->get_Height(&sourceHeight));
  // The source rectangle goes bottom-up: from the bottom edge, negative height.
  RETURN_IF_FAILED(drawable->Render(imageDc_.get(), left, top, width, height, 0, sourceHeight,
                                    sourceWidth, -sourceHeight, nullptr));
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  return S_OK;
}

void PictureBox::OnLButtonDown() { ::SetFocus(hwnd()); }

void PictureBox::Paint(HDC dc) {
  if (!imageDc_) return;
  ::BitBlt(dc, 0, 0, size_.cx, size_.cy, imageDc_.get(), 0, 0, SRCCOPY);
}

}  // namespace app

#pragma once
// A picture box: a child window that keeps what is drawn into it. Drawing
// goes into an offscreen image of the client area's size; painting copies
// that image, so the drawing survives being covered and repainted.

#include <windows.h>
#include <olectl.h>

#include <optional>

#include "common/window_base.h"
#include "common/unique_handle.h"

namespace app {

class PictureBox : public common::WindowBase<PictureBox> {
 public:
  PictureBox() = default;
  ~PictureBox();


  // Creates the box as a child of `parent` with id `id`, blank;
  // `accessibleName` is what screen readers call it (kept, not copied).
  HRESULT Create(HWND parent, int id, const RECT& place, DWORD style, DWORD exStyle, const wchar_t* accessibleName);

  // Erases everything drawn: the box shows its background again.
  void Clear();

  // Draws `picture` stretched to (left, top, width, height), in pixels,
  // over what the box already shows.
  HRESULT Render(IPictureDisp* picture, int left, int top, int width, int height);

 private:
  friend class common::WindowBase<PictureBox>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  void OnLButtonDown();
  void Paint(HDC dc);

  const wchar_t* accessibleName_ = nullptr;
  SIZE size_{};
  common::UniqueBitmap image_;
  common::UniqueMemoryDc imageDc_;
  std::optional<common::SelectedObject> selected_;  // image_ in imageDc_
};

}  // namespace app

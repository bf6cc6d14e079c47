#pragma once
// What the notification area shows as the icon. The shell draws it at the
// small icon size in force when it is sent, so the icon is made at that
// size then: from the picture's own icon file where it has one (the file's
// image of that size), else from the picture as drawn, scaled smoothly.

#include <windows.h>
#include <olectl.h>

#include <functional>
#include <memory>

#include "common/unique_handle.h"

namespace traylume {

class TrayIcon {
 public:
  using Maker = std::function<HRESULT(SIZE size, common::UniqueIcon* icon)>;

  explicit TrayIcon(Maker maker) : maker_(std::move(maker)) {}
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The icon at `size`, kept (and valid) until it is asked for at another.
  HRESULT At(SIZE size, HICON* icon) const;

 private:
  Maker maker_;
  mutable SIZE size_{};
  mutable common::UniqueIcon icon_;
};

using SharedTrayIcon = std::shared_ptr<const TrayIcon>;

// The size the shell draws notification icons at: the small icon size
// (16, 20, 24 or 32 pixels at 100, 125, 150 and 200 %).
SIZE ShellIconSize();

// The control's own icon, drawn at each size.
SharedTrayIcon DefaultTrayIcon();

// The tray icon of an icon or bitmap picture, made once at `size` to show
// that it can be; CTL_E_INVALIDPICTURE for other kinds of picture.
HRESULT TrayIconFromPicture(IPicture* picture, SIZE size, SharedTrayIcon* icon);

}  // namespace traylume

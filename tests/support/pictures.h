#pragma once
// Icon files and pictures of solid colours, made in memory, and how an icon
// looks: its size, colour and coverage.

#include <windows.h>
#include <olectl.h>

#include <optional>
#include <string>
#include <vector>

#include "common/com_ptr.h"

namespace support {

// One image of an icon file: a square of one colour, 32 bits per pixel,
// stored as a DIB or as PNG data; its right half transparent when asked.
struct IconImage {
  int size;
  COLORREF color;
  bool png = false;
  bool clearRightHalf = false;
};

// The bytes of an .ico file with `images`, in that order.
std::string IconFile(const std::vector<IconImage>& images);
inline std::string SolidIconFile(COLORREF color, int size, bool clearRightHalf = false) {
  return IconFile({{size, color, false, clearRightHalf}});
}

// A picture loaded from an icon file's bytes, as OLE's loader makes it: it
// keeps the bytes and saves them.
common::ComPtr<IPictureDisp> IconFilePicture(const std::string& file);
// A picture of an icon handle, with no file behind it.
common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size = 16);
// A bitmap picture, a device-dependent bitmap as a form's picture box has.
common::ComPtr<IPictureDisp> SolidBitmapPicture(COLORREF color, int width, int height);

struct IconLook {
  SIZE size;
  COLORREF centre;   // the colour at the centre
  BYTE cornerAlpha;  // the top left pixel's coverage: 0 transparent, 255 opaque
  bool smoothEdges;  // some pixel covers partly
};

std::optional<IconLook> LookOf(HICON icon);
// The colour at the centre of an icon picture.
std::optional<COLORREF> IconCentreColor(IPictureDisp* picture);

}  // namespace support

#pragma once
// Solid-coloured icon pictures and icon files, and the colour an icon shows.

#include <windows.h>
#include <olectl.h>

#include <optional>
#include <string>

#include "common/com_ptr.h"

namespace support {

common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size = 16);

// The bytes of a .ico file with one solid `size` x `size` 32-bit image;
// its right half transparent when asked.
std::string SolidIconFile(COLORREF color, int size, bool clearRightHalf = false);

// The colour at the centre of `icon`'s colour image, or of an icon picture.
std::optional<COLORREF> IconCentreColor(HICON icon);
std::optional<COLORREF> IconCentreColor(IPictureDisp* picture);

}  // namespace support

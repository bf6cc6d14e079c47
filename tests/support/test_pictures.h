#pragma once
// Pictures for the tests: solid-coloured icon and bitmap pictures, an empty
// picture, and reading a colour back from an icon handle.

#include <windows.h>
#include <olectl.h>

#include <optional>

#include "common/com_ptr.h"

namespace testing_support {

common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size = 16);
common::ComPtr<IPictureDisp> SolidBitmapPicture(COLORREF color, int width = 16, int height = 16);
// A picture object that holds no image (PICTYPE_NONE).
common::ComPtr<IPictureDisp> EmptyPicture();

// The colour of the centre pixel of `icon`'s colour image.
std::optional<COLORREF> IconCentreColor(HICON icon);
// The colour `picture` shows at its centre when drawn at `size` x `size`.
std::optional<COLORREF> PictureCentreColor(IPictureDisp* picture, int size = 32);
// PICTYPE_* of the picture, or -2 when it is not one.
SHORT PictureType(IPictureDisp* picture);

}  // namespace testing_support

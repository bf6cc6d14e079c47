#pragma once
// Pictures and icons: the control's own icon, pictures made from icons, a
// picture as drawn, and the bytes a picture saves.

#include <windows.h>
#include <olectl.h>

#include <vector>

#include "common/com_ptr.h"
#include "common/unique_handle.h"
#include "traylume/argb_image.h"

namespace traylume {

// The side of the picture the control shows as its own icon.
constexpr int kDefaultPictureSide = 32;

// The control's own icon, drawn at `size` with smooth edges: a blue disc
// with a white dot.
HRESULT MakeDefaultIcon(SIZE size, common::UniqueIcon* icon);

// A picture object that owns `icon` (taken only on success).
HRESULT PictureFromIcon(common::UniqueIcon* icon, common::ComPtr<IPictureDisp>* picture);

// An icon or bitmap picture as IPicture::Render draws it at its own size
// (at most 256 pixels a side); CTL_E_INVALIDPICTURE for other kinds.
HRESULT DrawPicture(IPicture* picture, ArgbImage* image);

// What the picture writes through its IPersistStream.
HRESULT SavePictureBytes(IPictureDisp* picture, std::vector<BYTE>* bytes);

}  // namespace traylume

#pragma once
// Pictures and icons: the control's own default icon, the icon handle the
// notification area gets from a picture, and pictures made from icons.

#include <windows.h>
#include <olectl.h>

#include "common/com_ptr.h"
#include "common/unique_handle.h"

namespace traylume {

// The control's icon until a picture is set: drawn in code, 32 x 32.
HRESULT MakeDefaultIcon(common::UniqueIcon* icon);

// A picture object that owns `icon` (taken only on success).
HRESULT PictureFromIcon(common::UniqueIcon* icon, common::ComPtr<IPictureDisp>* picture);

// The icon handle for the notification area from `picture`: a copy of an
// icon picture, or an opaque icon made from a bitmap picture. Other kinds
// of picture (metafiles, none) give CTL_E_INVALIDPICTURE.
HRESULT TrayIconFromPicture(IPicture* picture, common::UniqueIcon* icon);

}  // namespace traylume

#pragma once
// The control's saved state, as the window description holds it: handed to
// the control through IPersistPropertyBag::Load when it is created.

#include <windows.h>
#include <olectl.h>

#include <string>

#include "common/com_ptr.h"

namespace component {

struct SavedState {
  long extentX = 847;  // HIMETRIC, about 32 pixels
  long extentY = 847;
  common::ComPtr<IPictureDisp> icon;  // "icon"; VT_DISPATCH, may be null
  std::wstring toolTipText;           // "tooltiptext"
};

}  // namespace component

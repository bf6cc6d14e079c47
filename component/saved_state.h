#pragma once
// The control's saved state, as the window description holds it: handed to
// the control through IPersistPropertyBag::Load when it is created.

#include <windows.h>
#include <olectl.h>

#include <string>

#include "common/com_ptr.h"
#include "contract/traylume_contract.h"

namespace component {

struct SavedState {
  long extentX = contract::kInitialExtent.cx;  // HIMETRIC
  long extentY = contract::kInitialExtent.cy;
  common::ComPtr<IPictureDisp> icon;  // may be null
  std::wstring toolTipText;
};

}  // namespace component

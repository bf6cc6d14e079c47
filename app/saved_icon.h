#pragma once
// The control's saved icon, which the program carries as a resource in
// icon-file form.

#include <olectl.h>

#include "common/com_ptr.h"
#include "common/com_result.h"

namespace app {

// A picture made from the running program's IDR_SAVED_ICON resource.
common::ComResult LoadSavedIcon(common::ComPtr<IPictureDisp>* icon);

}  // namespace app

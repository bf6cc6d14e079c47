#pragma once
// Creating the Traylume control at start-up.

#include <windows.h>

#include "common/com_ptr.h"
#include "common/com_result.h"

namespace component {

// Creates the control for `progId` in process: the registered class when
// there is one, otherwise `fileName` next to the program, loaded and asked
// for its class through DllGetClassObject without registration. A failure
// names the ProgID and the file, and why each way failed.
common::ComResult CreateTraylume(const wchar_t* progId, const wchar_t* fileName,
                                 common::ComPtr<IUnknown>* control);

}  // namespace component

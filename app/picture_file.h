#pragma once
// Loading a picture file with the platform's picture loader, with a reason
// the user understands when it fails.

#include <olectl.h>

#include <string>

#include "common/com_ptr.h"
#include "common/com_result.h"

namespace app {

// Loads `fileName` (relative to the current folder, or absolute). A failure
// names the file and says in Japanese why: no name, no such file, a folder,
// or not a picture.
common::ComResult LoadPictureFile(const std::wstring& fileName, common::ComPtr<IPictureDisp>* picture);

}  // namespace app

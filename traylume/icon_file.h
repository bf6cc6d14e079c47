#pragma once
// The icon of an icon file at the size someone draws it: the file's own
// image of that size where it has one, else its nearest larger image (or,
// failing that, its largest) scaled smoothly.

#include <windows.h>

#include <cstddef>

#include "common/unique_handle.h"

namespace traylume {

// `file` must be a well-formed icon file (see ReadIconFile).
HRESULT IconFromIconFile(const BYTE* file, size_t fileSize, SIZE size, common::UniqueIcon* icon);

}  // namespace traylume

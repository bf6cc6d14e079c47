#pragma once
// Checks the bytes of a saved picture before any picture loader sees them.
// A picture object saves itself (IPersistStream) as the 32-bit marker "lt",
// the byte count of what follows, and an icon file or a bitmap file. The
// platform's loaders trust the counts, sizes and offsets inside those files,
// so damaged bytes could make them read far outside the buffer.

#include <windows.h>

#include <cstddef>

namespace traylume {

// True when `data` is a saved icon (every image of it) or bitmap whose
// every count, size and offset lies within the bytes actually present.
bool IsWellFormedSavedPicture(const BYTE* data, size_t size);

}  // namespace traylume

#pragma once
// Checks the bytes of a saved picture before any picture loader sees them.
// A picture object saves itself (IPersistStream) as the 32-bit marker "lt",
// the byte count of what follows, and an icon file or a bitmap file. The
// platform's loaders trust the counts, sizes and offsets inside those files,
// so damaged bytes could make them read far outside the buffer.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace traylume {

// One image of an icon file. Its size is the image's own (the directory's
// bytes may say otherwise); the pointers lie in the file's bytes.
struct IconFileImage {
  const BYTE* entry;  // its 16-byte directory entry
  const BYTE* bits;   // a DIB (header, colours, pixels, mask) or a PNG file
  uint32_t size;
  int width;
  int height;
};

// The images of the icon file `data`; false when any of its counts, sizes
// and offsets does not lie within the bytes present.
bool ReadIconFile(const BYTE* data, size_t size, std::vector<IconFileImage>* images);

// The icon file within a saved picture's bytes; false when they hold none,
// or a damaged one.
bool SavedIconFile(const BYTE* data, size_t size, const BYTE** file, size_t* fileSize);

// True when `data` is a saved icon (every image of it) or bitmap whose
// every count, size and offset lies within the bytes actually present.
bool IsWellFormedSavedPicture(const BYTE* data, size_t size);

}  // namespace traylume

#pragma once
// Images with an alpha channel, held in memory: what a picture or an icon
// looks like when drawn, scaled smoothly to another size, and made into an
// icon of 32 bits per pixel. The pixels are only ever written by drawing into
// bitmaps of our own, so no picture's own bitmap is read or selected.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "common/unique_handle.h"

namespace traylume {

struct ArgbImage {
  int width = 0;
  int height = 0;
  // Rows top down; each pixel 0xAARRGGBB with the colour premultiplied by
  // its alpha, as a 32-bit top-down DIB holds it.
  std::vector<uint32_t> pixels;
};

// An empty (fully transparent) image of `size`.
ArgbImage TransparentImage(SIZE size);

// What `draw` paints into a `size` device context: drawn once over black and
// once over white into bitmaps of our own, which tells each pixel's colour
// and how much of it covers the background.
HRESULT CaptureDrawing(SIZE size, const std::function<HRESULT(HDC dc)>& draw, ArgbImage* image);

// `source` scaled smoothly (a triangle filter as wide as the scale) to the
// largest size that fits into `size` with its aspect ratio kept, centred on
// a transparent background.
ArgbImage FitImage(const ArgbImage& source, SIZE size);

// An icon of `image`: a 32-bit colour bitmap with alpha and a mask that
// shows every pixel that is not wholly transparent.
HRESULT IconFromImage(const ArgbImage& image, common::UniqueIcon* icon);

}  // namespace traylume

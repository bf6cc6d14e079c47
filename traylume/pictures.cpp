#include "traylume/pictures.h"

#include <algorithm>
#include <cmath>

#include "common/hresult.h"
#include "traylume/stream_io.h"

namespace traylume {
namespace {

constexpr COLORREF kDefaultIconDisc = RGB(0x1E, 0x78, 0xD2);
constexpr COLORREF kDefaultIconDot = RGB(0xFF, 0xFF, 0xFF);
// The disc and the dot as fractions of the icon's side.
constexpr double kDiscRadius = 15.5 / 32;
constexpr double kDotRadius = 5.5 / 32;
// Samples per pixel in each direction, for smooth edges.
constexpr int kSamples = 4;
constexpr int kMaxDrawnSide = 256;
constexpr double kHimetricPerInch = 2540;

// Adds one sample of `colour`, fully covering, to a pixel's channel sums.
void AddSample(COLORREF colour, int sums[4]) {
  sums[0] += GetBValue(colour);
  sums[1] += GetGValue(colour);
  sums[2] += GetRValue(colour);
  sums[3] += 255;
}

}  // namespace

HRESULT MakeDefaultIcon(SIZE size, common::UniqueIcon* icon) {
  ArgbImage image = TransparentImage(size);
  if (image.pixels.empty()) RETURN_HR(E_INVALIDARG);
  const double side = std::min(size.cx, size.cy);
  const double centreX = size.cx / 2.0;
  const double centreY = size.cy / 2.0;
  const double disc = side * kDiscRadius;
  const double dot = side * kDotRadius;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      int sums[4] = {};  // blue, green, red, alpha over the pixel's samples
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double dx = x + (sx + 0.5) / kSamples - centreX;
          const double dy = y + (sy + 0.5) / kSamples - centreY;
          const double distance = std::sqrt(dx * dx + dy * dy);
          if (distance <= dot) {
            AddSample(kDefaultIconDot, sums);
          } else if (distance <= disc) {
            AddSample(kDefaultIconDisc, sums);
          }
        }
      }
      constexpr int kAll = kSamples * kSamples;
      uint32_t pixel = 0;
      for (int c = 0; c < 4; ++c) pixel |= static_cast<uint32_t>((sums[c] + kAll / 2) / kAll) << (8 * c);
      image.pixels[static_cast<size_t>(y) * image.width + x] = pixel;
    }
  }
  return IconFromImage(image, icon);
}

HRESULT PictureFromIcon(common::UniqueIcon* icon, common::ComPtr<IPictureDisp>* picture) {
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_ICON;
  description.icon.hicon = icon->get();
  RETURN_IF_FAILED(::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture->put_void()));
  icon->release();  // the picture owns it now
  return S_OK;
}

HRESULT DrawPicture(IPicture* picture, ArgbImage* image) {
  if (!picture) RETURN_HR(E_POINTER);
  SHORT type = PICTYPE_NONE;
  RETURN_IF_FAILED(picture->get_Type(&type));
  if (type != PICTYPE_ICON && type != PICTYPE_BITMAP) RETURN_HR(CTL_E_INVALIDPICTURE);
  OLE_HANDLE handle = 0;
  RETURN_IF_FAILED(picture->get_Handle(&handle));
  if (!handle) RETURN_HR(CTL_E_INVALIDPICTURE);
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  RETURN_IF_FAILED(picture->get_Width(&width));
  RETURN_IF_FAILED(picture->get_Height(&height));
  if (width <= 0 || height <= 0) RETURN_HR(CTL_E_INVALIDPICTURE);
  // The picture's own size in pixels, as its HIMETRIC size was made from
  // the screen's; a larger one is drawn at most kMaxDrawnSide a side.
  common::WindowDc screen(nullptr);
  RETURN_LAST_ERROR_IF(!screen);
  const double pixelsX = std::max(1.0, std::round(width * ::GetDeviceCaps(screen.get(), LOGPIXELSX) / kHimetricPerInch));
  const double pixelsY = std::max(1.0, std::round(height * ::GetDeviceCaps(screen.get(), LOGPIXELSY) / kHimetricPerInch));
  const double shrink = std::min(1.0, kMaxDrawnSide / std::max(pixelsX, pixelsY));
  const SIZE size{std::max(1L, std::lround(pixelsX * shrink)), std::max(1L, std::lround(pixelsY * shrink))};
  // A bitmap its host keeps selected into a device context (a picture box
  // that draws into it) cannot be selected anywhere else: it is copied
  // from that device context instead, as IPicture::get_CurDC intends.
  HDC current = nullptr;
  BITMAP bitmap{};
  if (type == PICTYPE_BITMAP && SUCCEEDED(picture->get_CurDC(&current)) && current &&
      !::GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof(bitmap), &bitmap)) {
    current = nullptr;
  }
  return CaptureDrawing(size, [&](HDC dc) {
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    if (current) {
      RETURN_LAST_ERROR_IF(!::StretchBlt(dc, 0, 0, size.cx, size.cy, current, 0, 0, bitmap.bmWidth,
                                         bitmap.bmHeight, SRCCOPY));
      return S_OK;
    }
    // Render takes the source rectangle from the bottom up.
    return picture->Render(dc, 0, 0, size.cx, size.cy, 0, height, width, -height, nullptr);
  }, image);
}

HRESULT SavePictureBytes(IPictureDisp* picture, std::vector<BYTE>* bytes) {
  common::ComPtr<IPersistStream> persist;
  RETURN_IF_FAILED(common::ComPtr<IPictureDisp>(picture).As(&persist));
  common::ComPtr<IStream> memory;
  RETURN_IF_FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, memory.put()));
  RETURN_IF_FAILED(persist->Save(memory.get(), TRUE));
  return StreamContents(memory.get(), bytes);
}

}  // namespace traylume

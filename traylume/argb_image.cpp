#include "traylume/argb_image.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/hresult.h"

namespace traylume {
namespace {

// A top-down 32-bit DIB section of our own, and where its pixels lie.
struct DibSection {
  common::UniqueBitmap bitmap;
  uint32_t* bits = nullptr;
};

HRESULT MakeDibSection(SIZE size, DibSection* dib) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dib->bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  RETURN_LAST_ERROR_IF(!dib->bitmap || !bits);
  dib->bits = static_cast<uint32_t*>(bits);
  return S_OK;
}

// Draws into `dib` over the stock brush `background`, in a device context
// of its own so that nothing `draw` leaves selected or set carries over.
HRESULT DrawOver(const DibSection& dib, SIZE size, int background, const std::function<HRESULT(HDC)>& draw) {
  common::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  RETURN_LAST_ERROR_IF(!dc);
  common::SelectedObject selected(dc.get(), dib.bitmap.get());
  const RECT all{0, 0, size.cx, size.cy};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(background)));
  RETURN_IF_FAILED(draw(dc.get()));
  ::GdiFlush();
  return S_OK;
}

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// A pixel drawn over black (its colour times its coverage) and over white
// (that plus the white left showing): its premultiplied colour and alpha.
uint32_t Unblend(uint32_t onBlack, uint32_t onWhite) {
  int coverage = 0;
  for (int shift : {0, 8, 16}) coverage += 255 - std::clamp(Channel(onWhite, shift) - Channel(onBlack, shift), 0, 255);
  const int alpha = (coverage + 1) / 3;
  uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
  for (int shift : {0, 8, 16}) pixel |= static_cast<uint32_t>(std::min(Channel(onBlack, shift), alpha)) << shift;
  return pixel;
}

struct Tap {
  int index;
  float weight;
};

// For each of `to` positions, the `from` positions that make it and their
// weights: a triangle as wide as the scale when shrinking (every source
// pixel counts), linear interpolation when growing.
std::vector<std::vector<Tap>> FilterTaps(int from, int to) {
  const double scale = static_cast<double>(from) / to;
  const double radius = std::max(1.0, scale);
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(to));
  for (int i = 0; i < to; ++i) {
    const double centre = (i + 0.5) * scale;
    const int first = std::max(0, static_cast<int>(std::floor(centre - radius)));
    const int last = std::min(from - 1, static_cast<int>(std::ceil(centre + radius)));
    float total = 0;
    for (int j = first; j <= last; ++j) {
      const float weight = static_cast<float>(1.0 - std::fabs(j + 0.5 - centre) / radius);
      if (weight <= 0) continue;
      taps[static_cast<size_t>(i)].push_back({j, weight});
      total += weight;
    }
    for (Tap& tap : taps[static_cast<size_t>(i)]) tap.weight /= total;
  }
  return taps;
}

ArgbImage Resample(const ArgbImage& source, int width, int height) {
  const auto across = FilterTaps(source.width, width);
  const auto down = FilterTaps(source.height, height);
  // Across first, into rows of four channels in floating point.
  std::vector<float> rows(static_cast<size_t>(width) * static_cast<size_t>(source.height) * 4, 0.0f);
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < width; ++x) {
      float* out = &rows[(static_cast<size_t>(y) * width + x) * 4];
      for (const Tap& tap : across[static_cast<size_t>(x)]) {
        const uint32_t pixel = source.pixels[static_cast<size_t>(y) * source.width + tap.index];
        for (int c = 0; c < 4; ++c) out[c] += tap.weight * static_cast<float>(Channel(pixel, 8 * c));
      }
    }
  }
  ArgbImage scaled = TransparentImage({width, height});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float sum[4] = {};
      for (const Tap& tap : down[static_cast<size_t>(y)]) {
        const float* in = &rows[(static_cast<size_t>(tap.index) * width + x) * 4];
        for (int c = 0; c < 4; ++c) sum[c] += tap.weight * in[c];
      }
      const int alpha = std::clamp(static_cast<int>(std::lround(sum[3])), 0, 255);
      uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
      for (int c = 0; c < 3; ++c) {
        pixel |= static_cast<uint32_t>(std::clamp(static_cast<int>(std::lround(sum[c])), 0, alpha)) << (8 * c);
      }
      scaled.pixels[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  return scaled;
}

}  // namespace

ArgbImage TransparentImage(SIZE size) {
  ArgbImage image;
  image.width = std::max<LONG>(size.cx, 0);
  image.height = std::max<LONG>(size.cy, 0);
  image.pixels.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
  return image;
}

HRESULT CaptureDrawing(SIZE size, const std::function<HRESULT(HDC dc)>& draw, ArgbImage* image) {
  if (size.cx <= 0 || size.cy <= 0) RETURN_HR(E_INVALIDARG);
  DibSection onBlack;
  DibSection onWhite;
  RETURN_IF_FAILED(MakeDibSection(size, &onBlack));
  RETURN_IF_FAILED(MakeDibSection(size, &onWhite));
  RETURN_IF_FAILED(DrawOver(onBlack, size, BLACK_BRUSH, draw));
  RETURN_IF_FAILED(DrawOver(onWhite, size, WHITE_BRUSH, draw));
  ArgbImage captured = TransparentImage(size);
  for (size_t i = 0; i < captured.pixels.size(); ++i) captured.pixels[i] = Unblend(onBlack.bits[i], onWhite.bits[i]);
  *image = std::move(captured);
  return S_OK;
}

ArgbImage FitImage(const ArgbImage& source, SIZE size) {
  ArgbImage fitted = TransparentImage(size);
  if (source.width <= 0 || source.height <= 0 || fitted.pixels.empty()) return fitted;
  const double scale = std::min(static_cast<double>(fitted.width) / source.width,
                                static_cast<double>(fitted.height) / source.height);
  const int width = std::clamp(static_cast<int>(std::lround(source.width * scale)), 1, fitted.width);
  const int height = std::clamp(static_cast<int>(std::lround(source.height * scale)), 1, fitted.height);
  const ArgbImage scaled =
      width == source.width && height == source.height ? source : Resample(source, width, height);
  const int left = (fitted.width - width) / 2;
  const int top = (fitted.height - height) / 2;
  for (int y = 0; y < height; ++y) {
    const auto row = scaled.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
    std::copy(row, row + width,
              fitted.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * fitted.width + left);
  }
  return fitted;
}

HRESULT IconFromImage(const ArgbImage& image, common::UniqueIcon* icon) {
  if (image.width <= 0 || image.height <= 0) RETURN_HR(E_INVALIDARG);
  DibSection colour;
  RETURN_IF_FAILED(MakeDibSection({image.width, image.height}, &colour));
  ::GdiFlush();
  std::copy(image.pixels.begin(), image.pixels.end(), colour.bits);
  // The mask's rows are WORD aligned; a set bit is a transparent pixel.
  const size_t stride = ((static_cast<size_t>(image.width) + 15) / 16) * 2;
  std::vector<BYTE> maskBits(stride * static_cast<size_t>(image.height), 0);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.pixels[static_cast<size_t>(y) * image.width + x] >> 24) continue;
      maskBits[static_cast<size_t>(y) * stride + static_cast<size_t>(x) / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  common::UniqueBitmap mask(::CreateBitmap(image.width, image.height, 1, 1, maskBits.data()));
  RETURN_LAST_ERROR_IF(!mask);
  ICONINFO parts{};
  parts.fIcon = TRUE;
  parts.hbmMask = mask.get();
  parts.hbmColor = colour.bitmap.get();
  icon->reset(::CreateIconIndirect(&parts));
  RETURN_LAST_ERROR_IF(!*icon);
  return S_OK;
}

}  // namespace traylume

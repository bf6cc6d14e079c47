#include "tests/support/pictures.h"

#include <algorithm>
#include <cstdint>

#include "common/unique_handle.h"

namespace support {
namespace {

void Append16(std::string* bytes, unsigned value) {
  bytes->push_back(static_cast<char>(value & 0xFF));
  bytes->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Append32(std::string* bytes, unsigned value) {
  Append16(bytes, value & 0xFFFF);
  Append16(bytes, value >> 16);
}

void AppendBigEndian32(std::string* bytes, unsigned value) {
  for (int shift : {24, 16, 8, 0}) bytes->push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// 0xAARRGGBB of one pixel of `image` at column `x`.
uint32_t PixelOf(const IconImage& image, int x) {
  if (image.clearRightHalf && x >= image.size / 2) return 0;
  return 0xFF000000u | GetRValue(image.color) << 16 | GetGValue(image.color) << 8 | GetBValue(image.color);
}

// A DIB: its header, the colour rows and the one-bit mask (1 transparent).
std::string DibImage(const IconImage& image) {
  const unsigned size = static_cast<unsigned>(image.size);
  const unsigned maskRow = (size + 31) / 32 * 4;
  std::string bytes;
  for (unsigned value : {40u, size, 2 * size}) Append32(&bytes, value);
  Append16(&bytes, 1);   // planes
  Append16(&bytes, 32);  // bits per pixel
  for (unsigned value : {0u, size * size * 4 + maskRow * size, 0u, 0u, 0u, 0u}) Append32(&bytes, value);
  for (unsigned y = 0; y < size; ++y) {
    for (int x = 0; x < image.size; ++x) Append32(&bytes, PixelOf(image, x));
  }
  for (unsigned y = 0; y < size; ++y) {
    for (unsigned byte = 0; byte < maskRow; ++byte) {
      unsigned bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = static_cast<int>(byte * 8) + bit;
        if (x < image.size && PixelOf(image, x) == 0) bits |= 0x80u >> bit;
      }
      bytes.push_back(static_cast<char>(bits));
    }
  }
  return bytes;
}

void AppendChunk(std::string* png, const char* type, const std::string& data) {
  AppendBigEndian32(png, static_cast<unsigned>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  *png += typed;
  AppendBigEndian32(png, Crc32(typed));
}

// A PNG file: RGBA rows, each after its filter byte, in stored (not
// compressed) deflate blocks.
std::string PngImage(const IconImage& image) {
  std::string rows;
  for (int y = 0; y < image.size; ++y) {
    rows.push_back(0);
    for (int x = 0; x < image.size; ++x) {
      const uint32_t argb = PixelOf(image, x);
      for (int shift : {16, 8, 0, 24}) rows.push_back(static_cast<char>((argb >> shift) & 0xFF));
    }
  }
  std::string data = "\x78\x01";
  for (size_t at = 0; at < rows.size(); at += 0xFFFF) {
    const unsigned length = static_cast<unsigned>(std::min<size_t>(0xFFFF, rows.size() - at));
    data.push_back(at + length == rows.size() ? 1 : 0);
    Append16(&data, length);
    Append16(&data, ~length & 0xFFFF);
    data += rows.substr(at, length);
  }
  uint32_t a = 1;
  uint32_t b = 0;
  for (unsigned char byte : rows) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  AppendBigEndian32(&data, b << 16 | a);
  std::string header;
  AppendBigEndian32(&header, static_cast<unsigned>(image.size));
  AppendBigEndian32(&header, static_cast<unsigned>(image.size));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter choice, not interlaced
  std::string png = "\x89PNG\r\n\x1A\n";
  AppendChunk(&png, "IHDR", header);
  AppendChunk(&png, "IDAT", data);
  AppendChunk(&png, "IEND", "");
  return png;
}

// A 32-bit top-down copy of `bitmap`'s pixels.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
  common::WindowDc screen(nullptr);
  ::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

}  // namespace

std::string IconFile(const std::vector<IconImage>& images) {
  std::vector<std::string> encoded;
  for (const IconImage& image : images) encoded.push_back(image.png ? PngImage(image) : DibImage(image));
  std::string file;
  Append16(&file, 0);
  Append16(&file, 1);  // an icon
  Append16(&file, static_cast<unsigned>(images.size()));
  unsigned offset = static_cast<unsigned>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int side = images[i].size == 256 ? 0 : images[i].size;
    file.push_back(static_cast<char>(side));
    file.push_back(static_cast<char>(side));
    Append16(&file, 0);   // no palette
    Append16(&file, 1);   // planes
    Append16(&file, 32);  // bits per pixel
    Append32(&file, static_cast<unsigned>(encoded[i].size()));
    Append32(&file, offset);
    offset += static_cast<unsigned>(encoded[i].size());
  }
  for (const std::string& image : encoded) file += image;
  return file;
}

common::ComPtr<IPictureDisp> IconFilePicture(const std::string& file) {
  common::ComPtr<IStream> stream;
  common::ComPtr<IPictureDisp> picture;
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  stream->Write(file.data(), static_cast<ULONG>(file.size()), nullptr);
  const LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ::OleLoadPicture(stream.get(), static_cast<LONG>(file.size()), FALSE, IID_IPictureDisp, picture.put_void());
  return picture;
}

common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size) {
  std::string file = SolidIconFile(color, size);
  constexpr size_t kImageAt = 6 + 16;
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_ICON;
  description.icon.hicon = ::CreateIconFromResourceEx(reinterpret_cast<BYTE*>(file.data()) + kImageAt,
                                                      static_cast<DWORD>(file.size() - kImageAt), TRUE,
                                                      0x00030000, size, size, 0);
  common::ComPtr<IPictureDisp> picture;
  ::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void());
  return picture;
}

common::ComPtr<IPictureDisp> SolidBitmapPicture(COLORREF color, int width, int height) {
  common::WindowDc screen(nullptr);
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = ::CreateCompatibleBitmap(screen.get(), width, height);
  {
    common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    common::UniqueBrush brush(::CreateSolidBrush(color));
    common::SelectedObject selected(dc.get(), description.bmp.hbitmap);
    const RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, brush.get());
  }
  common::ComPtr<IPictureDisp> picture;
  ::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void());
  return picture;
}

std::optional<IconLook> LookOf(HICON icon) {
  ICONINFO parts{};
  if (!::GetIconInfo(icon, &parts)) return std::nullopt;
  common::UniqueBitmap colour(parts.hbmColor);
  common::UniqueBitmap mask(parts.hbmMask);
  BITMAP info{};
  if (!colour || !::GetObjectW(colour.get(), sizeof(info), &info)) return std::nullopt;
  const int width = info.bmWidth;
  const int height = info.bmHeight;
  const std::vector<uint32_t> pixels = PixelsOf(colour.get(), width, height);
  const std::vector<uint32_t> maskPixels = PixelsOf(mask.get(), width, height);
  // An icon without alpha shows what its mask leaves.
  const bool hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
  auto alpha = [&](size_t i) { return hasAlpha ? pixels[i] >> 24 : ((maskPixels[i] & 0xFFFFFF) ? 0u : 255u); };
  const uint32_t centre = pixels[static_cast<size_t>(height / 2) * width + width / 2];
  IconLook look{{width, height}, RGB((centre >> 16) & 0xFF, (centre >> 8) & 0xFF, centre & 0xFF),
                static_cast<BYTE>(alpha(0)), false};
  for (size_t i = 0; i < pixels.size(); ++i) look.smoothEdges = look.smoothEdges || (alpha(i) > 0 && alpha(i) < 255);
  return look;
}

std::optional<COLORREF> IconCentreColor(IPictureDisp* picture) {
  common::ComPtr<IPicture> icon;
  OLE_HANDLE handle = 0;
  if (!picture || FAILED(common::ComPtr<IPictureDisp>(picture).As(&icon)) || FAILED(icon->get_Handle(&handle))) {
    return std::nullopt;
  }
  const std::optional<IconLook> look = LookOf(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)));
  if (!look) return std::nullopt;
  return look->centre;
}

}  // namespace support

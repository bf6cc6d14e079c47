#include "traylume/picture_bytes.h"

#include <cstdint>
#include <cstring>

namespace traylume {
namespace {

constexpr uint32_t kSavedPictureMarker = 0x0000746C;  // "lt\0\0"
constexpr uint64_t kMaxIconImages = 64;
constexpr int32_t kMaxIconSide = 256;
constexpr int32_t kMaxBitmapSide = 8192;

// Little-endian reads within [data, data + size); false past the end.
class Bytes {
 public:
  Bytes(const BYTE* data, uint64_t size) : data_(data), size_(size) {}
  uint64_t size() const { return size_; }
  bool Has(uint64_t offset, uint64_t count) const { return offset <= size_ && count <= size_ - offset; }
  bool U16(uint64_t offset, uint16_t* value) const { return Read(offset, value); }
  bool U32(uint64_t offset, uint32_t* value) const { return Read(offset, value); }
  bool I32(uint64_t offset, int32_t* value) const { return Read(offset, value); }
  bool U32BigEndian(uint64_t offset, uint32_t* value) const {
    if (!Read(offset, value)) return false;
    const uint32_t v = *value;
    *value = (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
    return true;
  }
  const BYTE* At(uint64_t offset) const { return data_ + offset; }
  Bytes From(uint64_t offset, uint64_t count) const { return Bytes(data_ + offset, count); }

 private:
  template <typename T>
  bool Read(uint64_t offset, T* value) const {
    if (!Has(offset, sizeof(T))) return false;
    std::memcpy(value, data_ + offset, sizeof(T));
    return true;
  }
  const BYTE* data_;
  uint64_t size_;
};

struct DibHeader {
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
};

bool ReadDibHeader(const Bytes& bytes, uint64_t at, DibHeader* header) {
  return bytes.U32(at, &header->headerSize) && bytes.I32(at + 4, &header->width) &&
         bytes.I32(at + 8, &header->height) && bytes.U16(at + 12, &header->planes) &&
         bytes.U16(at + 14, &header->bitCount) && bytes.U32(at + 16, &header->compression) &&
         bytes.U32(at + 32, &header->colorsUsed);
}

// The header's own fields are sane; gives the bytes between the header's
// start and its pixels (header, masks, colour table).
bool CheckDibHeader(const DibHeader& header, int32_t maxWidth, int32_t maxHeight, uint64_t* prefix) {
  if (header.headerSize != sizeof(BITMAPINFOHEADER) && header.headerSize != sizeof(BITMAPV4HEADER) &&
      header.headerSize != sizeof(BITMAPV5HEADER)) {
    return false;
  }
  if (header.planes != 1 || header.width <= 0 || header.width > maxWidth) return false;
  if (header.height == 0 || header.height < -maxHeight || header.height > maxHeight) return false;
  const uint16_t bits = header.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const bool fields = header.compression == BI_BITFIELDS;
  if (header.compression != BI_RGB && !(fields && (bits == 16 || bits == 32))) return false;
  const uint32_t maxColors = bits <= 8 ? (1u << bits) : 256u;
  if (header.colorsUsed > maxColors) return false;
  const uint64_t colors = header.colorsUsed ? header.colorsUsed : (bits <= 8 ? (1u << bits) : 0u);
  const uint64_t masks = fields && header.headerSize == sizeof(BITMAPINFOHEADER) ? 3 * sizeof(DWORD) : 0;
  *prefix = header.headerSize + masks + colors * sizeof(RGBQUAD);
  return true;
}

uint64_t RowBytes(int32_t width, uint16_t bitCount) {
  return ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
}

// A PNG image: its signature, then chunks that each lie within the image,
// the first its header (IHDR) with a size an icon can have, up to its end
// (IEND).
bool IsWellFormedPngImage(const Bytes& image, int32_t* width, int32_t* height) {
  static const BYTE kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  constexpr uint32_t kHeader = 0x49484452;  // "IHDR"
  constexpr uint32_t kEnd = 0x49454E44;     // "IEND"
  if (!image.Has(0, sizeof(kSignature)) || std::memcmp(image.At(0), kSignature, sizeof(kSignature)) != 0) {
    return false;
  }
  uint32_t length = 0, type = 0, x = 0, y = 0;
  if (!image.U32BigEndian(8, &length) || !image.U32BigEndian(12, &type) || type != kHeader || length != 13) return false;
  if (!image.U32BigEndian(16, &x) || !image.U32BigEndian(20, &y)) return false;
  constexpr uint32_t kMaxSide = static_cast<uint32_t>(kMaxIconSide);
  if (x == 0 || y == 0 || x > kMaxSide || y > kMaxSide) return false;
  *width = static_cast<int32_t>(x);
  *height = static_cast<int32_t>(y);
  // Each chunk: length, type, data, checksum.
  for (uint64_t at = 8;; at += 12 + static_cast<uint64_t>(length)) {
    if (!image.U32BigEndian(at, &length) || !image.U32BigEndian(at + 4, &type)) return false;
    if (!image.Has(at + 8, static_cast<uint64_t>(length) + 4)) return false;
    if (type == kEnd) return true;
  }
}

// One image of an icon file, a PNG file or a DIB: header, colour table,
// colour pixels and the one-bit mask, all within the image's own bytes.
bool IsWellFormedIconImage(const Bytes& image, int32_t* width, int32_t* height) {
  if (IsWellFormedPngImage(image, width, height)) return true;
  DibHeader header;
  uint64_t prefix = 0;
  if (!ReadDibHeader(image, 0, &header) || header.height < 0) return false;
  if (!CheckDibHeader(header, kMaxIconSide, 2 * kMaxIconSide, &prefix)) return false;
  // The height counts the colour image and the mask, one above the other.
  const uint64_t rows = static_cast<uint64_t>(header.height) / 2;
  if (rows == 0) return false;
  const uint64_t pixels = RowBytes(header.width, header.bitCount) * rows + RowBytes(header.width, 1) * rows;
  *width = header.width;
  *height = static_cast<int32_t>(rows);
  return image.Has(0, prefix) && image.Has(prefix, pixels);
}

bool ReadIconImages(const Bytes& file, std::vector<IconFileImage>* images) {
  uint16_t reserved = 0, type = 0, count = 0;
  if (!file.U16(0, &reserved) || !file.U16(2, &type) || !file.U16(4, &count)) return false;
  if (reserved != 0 || type != 1 || count == 0 || count > kMaxIconImages) return false;
  const uint64_t directoryEnd = 6 + 16 * static_cast<uint64_t>(count);
  if (!file.Has(0, directoryEnd)) return false;
  images->clear();
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t entry = 6 + 16 * i;
    uint32_t size = 0, offset = 0;
    if (!file.U32(entry + 8, &size) || !file.U32(entry + 12, &offset)) return false;
    if (offset < directoryEnd || !file.Has(offset, size)) return false;
    int32_t width = 0, height = 0;
    if (!IsWellFormedIconImage(file.From(offset, size), &width, &height)) return false;
    images->push_back({file.At(entry), file.At(offset), size, width, height});
  }
  return true;
}

// A bitmap file: its header, then an info header, colour table and pixels
// that lie within the file.
bool IsWellFormedBitmapFile(const Bytes& file) {
  constexpr uint64_t kFileHeader = sizeof(BITMAPFILEHEADER);
  uint32_t pixelsAt = 0;
  if (!file.U32(10, &pixelsAt)) return false;
  DibHeader header;
  uint64_t prefix = 0;
  if (!ReadDibHeader(file, kFileHeader, &header)) return false;
  if (!CheckDibHeader(header, kMaxBitmapSide, kMaxBitmapSide, &prefix)) return false;
  if (!file.Has(kFileHeader, prefix) || pixelsAt < kFileHeader + header.headerSize) return false;
  const uint64_t rows = static_cast<uint64_t>(header.height < 0 ? -static_cast<int64_t>(header.height) : header.height);
  return file.Has(pixelsAt, RowBytes(header.width, header.bitCount) * rows);
}

}  // namespace

bool ReadIconFile(const BYTE* data, size_t size, std::vector<IconFileImage>* images) {
  return data && ReadIconImages(Bytes(data, size), images);
}

namespace {

// The file within a saved picture: false when the marker or length is off.
bool SavedFile(const BYTE* data, size_t size, Bytes* file) {
  if (!data) return false;
  const Bytes saved(data, size);
  uint32_t marker = 0, length = 0;
  if (!saved.U32(0, &marker) || !saved.U32(4, &length)) return false;
  if (marker != kSavedPictureMarker || static_cast<uint64_t>(length) != saved.size() - 8) return false;
  *file = saved.From(8, length);
  return true;
}

bool IsBitmapFile(const Bytes& file) {
  uint16_t signature = 0;
  return file.U16(0, &signature) && signature == 0x4D42;  // "BM"
}

}  // namespace

bool IsWellFormedSavedPicture(const BYTE* data, size_t size) {
  Bytes file(nullptr, 0);
  if (!SavedFile(data, size, &file)) return false;
  if (IsBitmapFile(file)) return IsWellFormedBitmapFile(file);
  std::vector<IconFileImage> images;
  return ReadIconImages(file, &images);
}

bool SavedIconFile(const BYTE* data, size_t size, const BYTE** file, size_t* fileSize) {
  Bytes saved(nullptr, 0);
  std::vector<IconFileImage> images;
  if (!SavedFile(data, size, &saved) || IsBitmapFile(saved) || !ReadIconImages(saved, &images)) return false;
  *file = saved.At(0);
  *fileSize = static_cast<size_t>(saved.size());
  return true;
}

}  // namespace traylume

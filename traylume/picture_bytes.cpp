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

// One image of an icon file: header, colour table, colour pixels and the
// one-bit mask, all within the image's own bytes. PNG images are not taken.
bool IsWellFormedIconImage(const Bytes& image) {
  DibHeader header;
  uint64_t prefix = 0;
  if (!ReadDibHeader(image, 0, &header) || header.height < 0) return false;
  if (!CheckDibHeader(header, kMaxIconSide, 2 * kMaxIconSide, &prefix)) return false;
  // The height counts the colour image and the mask, one above the other.
  const uint64_t rows = static_cast<uint64_t>(header.height) / 2;
  if (rows == 0) return false;
  const uint64_t pixels = RowBytes(header.width, header.bitCount) * rows + RowBytes(header.width, 1) * rows;
  return image.Has(0, prefix) && image.Has(prefix, pixels);
}

bool IsWellFormedIconFile(const Bytes& file) {
  uint16_t reserved = 0, type = 0, count = 0;
  if (!file.U16(0, &reserved) || !file.U16(2, &type) || !file.U16(4, &count)) return false;
  if (reserved != 0 || type != 1 || count == 0 || count > kMaxIconImages) return false;
  const uint64_t directoryEnd = 6 + 16 * static_cast<uint64_t>(count);
  if (!file.Has(0, directoryEnd)) return false;
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t entry = 6 + 16 * i;
    uint32_t size = 0, offset = 0;
    if (!file.U32(entry + 8, &size) || !file.U32(entry + 12, &offset)) return false;
    if (offset < directoryEnd || !file.Has(offset, size)) return false;
    if (!IsWellFormedIconImage(file.From(offset, size))) return false;
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

bool IsWellFormedSavedPicture(const BYTE* data, size_t size) {
  if (!data) return false;
  const Bytes saved(data, size);
  uint32_t marker = 0, length = 0;
  if (!saved.U32(0, &marker) || !saved.U32(4, &length)) return false;
  if (marker != kSavedPictureMarker || static_cast<uint64_t>(length) != saved.size() - 8) return false;
  const Bytes file = saved.From(8, length);
  uint16_t signature = 0;
  if (!file.U16(0, &signature)) return false;
  if (signature == 0x4D42) return IsWellFormedBitmapFile(file);  // "BM"
  return IsWellFormedIconFile(file);
}

}  // namespace traylume

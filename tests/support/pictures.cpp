#include "tests/support/pictures.h"

#include <vector>

#include "common/unique_handle.h"

namespace support {

common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size) {
  common::WindowDc screen(nullptr);
  common::UniqueBitmap colour(::CreateCompatibleBitmap(screen.get(), size, size));
  {
    common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    common::UniqueBrush brush(::CreateSolidBrush(color));
    common::SelectedObject selected(dc.get(), colour.get());
    const RECT all{0, 0, size, size};
    ::FillRect(dc.get(), &all, brush.get());
  }
  std::vector<BYTE> zeros(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);
  common::UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, zeros.data()));
  ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_ICON;
  description.icon.hicon = ::CreateIconIndirect(&parts);
  common::ComPtr<IPictureDisp> picture;
  ::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void());
  return picture;
}

std::string SolidIconFile(COLORREF color, int size, bool clearRightHalf) {
  std::string bytes;
  auto u16 = [&](unsigned v) { bytes += static_cast<char>(v & 0xFF), bytes += static_cast<char>(v >> 8); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned pixels = static_cast<unsigned>(size * size * 4);
  const unsigned mask = static_cast<unsigned>(((size + 31) / 32) * 4 * size);
  u16(0), u16(1), u16(1);                                                  // an icon file of one image
  bytes += static_cast<char>(size), bytes += static_cast<char>(size), u16(0);  // size, no palette
  u16(1), u16(32), u32(40 + pixels + mask), u32(22);                       // planes, bits, bytes, offset
  u32(40), u32(size), u32(size * 2), u16(1), u16(32), u32(0), u32(pixels + mask), u32(0), u32(0), u32(0), u32(0);
  const unsigned bgra = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  for (int i = 0; i < size * size; ++i) u32(clearRightHalf && i % size >= size / 2 ? 0 : bgra);
  const int rowBytes = static_cast<int>(mask) / size;
  for (int y = 0; y < size; ++y) {  // the mask: 1 is transparent
    for (int x = 0; x < rowBytes; ++x) {
      bytes += static_cast<char>(clearRightHalf && x * 8 >= size / 2 ? 0xFF : 0x00);
    }
  }
  return bytes;
}

std::optional<COLORREF> IconCentreColor(HICON icon) {
  ICONINFO parts{};
  if (!::GetIconInfo(icon, &parts)) return std::nullopt;
  common::UniqueBitmap colour(parts.hbmColor);
  common::UniqueBitmap mask(parts.hbmMask);
  if (!colour) return std::nullopt;
  BITMAP info{};
  ::GetObjectW(colour.get(), sizeof(info), &info);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  common::SelectedObject selected(dc.get(), colour.get());
  return ::GetPixel(dc.get(), info.bmWidth / 2, info.bmHeight / 2);
}

std::optional<COLORREF> IconCentreColor(IPictureDisp* picture) {
  common::ComPtr<IPicture> icon;
  OLE_HANDLE handle = 0;
  if (!picture || FAILED(common::ComPtr<IPictureDisp>(picture).As(&icon)) || FAILED(icon->get_Handle(&handle))) {
    return std::nullopt;
  }
  return IconCentreColor(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)));
}

}  // namespace support

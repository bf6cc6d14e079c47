#include "tests/support/pictures.h"

#include "common/unique_handle.h"

namespace support {

std::string SolidIconFile(COLORREF color, int size, bool clearRightHalf) {
  std::string bytes;
  auto u16 = [&](unsigned v) { bytes += static_cast<char>(v & 0xFF), bytes += static_cast<char>(v >> 8); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned pixels = static_cast<unsigned>(size * size * 4), rowBytes = (size + 31) / 32 * 4;
  u16(0), u16(1), u16(1);                                                      // an icon file of one image
  bytes += static_cast<char>(size), bytes += static_cast<char>(size), u16(0);  // its size, no palette
  u16(1), u16(32), u32(40 + pixels + rowBytes * size), u32(22);                // planes, bits, bytes, offset
  u32(40), u32(size), u32(size * 2), u16(1), u16(32), u32(0), u32(pixels + rowBytes * size), u32(0), u32(0), u32(0), u32(0);
  const unsigned bgra = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  for (int i = 0; i < size * size; ++i) u32(clearRightHalf && i % size >= size / 2 ? 0 : bgra);
  for (int i = 0; i < size * static_cast<int>(rowBytes); ++i) {  // the mask: 1 is transparent
    bytes += static_cast<char>(clearRightHalf && (i % rowBytes) * 8 >= static_cast<unsigned>(size / 2) ? 0xFF : 0);
  }
  return bytes;
}

common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size) {
  std::string file = SolidIconFile(color, size);
  PICTDESC description{sizeof(PICTDESC), PICTYPE_ICON, {}};
  description.icon.hicon = ::CreateIconFromResourceEx(reinterpret_cast<BYTE*>(file.data()) + 22,
                                                      static_cast<DWORD>(file.size() - 22), TRUE, 0x00030000, size,
                                                      size, 0);
  common::ComPtr<IPictureDisp> picture;
  ::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void());
  return picture;
}

std::optional<COLORREF> IconCentreColor(HICON icon) {
  ICONINFO parts{};
  if (!::GetIconInfo(icon, &parts)) return std::nullopt;
  common::UniqueBitmap colour(parts.hbmColor), mask(parts.hbmMask);
  BITMAP info{};
  common::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!colour || !::GetObjectW(colour.get(), sizeof(info), &info)) return std::nullopt;
  common::SelectedObject selected(dc.get(), colour.get());
  return ::GetPixel(dc.get(), info.bmWidth / 2, info.bmHeight / 2) & 0xFFFFFF;
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

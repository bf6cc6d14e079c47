#include "tests/support/test_pictures.h"

#include <vector>

#include "common/unique_handle.h"

namespace testing_support {
namespace {

common::UniqueBitmap SolidBitmap(COLORREF color, int width, int height) {
  common::WindowDc screen(nullptr);
  common::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBrush brush(::CreateSolidBrush(color));
  {
    common::SelectedObject selected(dc.get(), bitmap.get());
    const RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, brush.get());
  }
  return bitmap;
}

common::ComPtr<IPictureDisp> Picture(PICTDESC& description) {
  description.cbSizeofstruct = sizeof(description);
  common::ComPtr<IPictureDisp> picture;
  ::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void());
  return picture;
}

}  // namespace

common::ComPtr<IPictureDisp> SolidIconPicture(COLORREF color, int size) {
  common::UniqueBitmap colour = SolidBitmap(color, size, size);
  std::vector<BYTE> zeros(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);
  common::UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, zeros.data()));
  ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
  PICTDESC description{};
  description.picType = PICTYPE_ICON;
  description.icon.hicon = ::CreateIconIndirect(&parts);
  return Picture(description);
}

common::ComPtr<IPictureDisp> SolidBitmapPicture(COLORREF color, int width, int height) {
  PICTDESC description{};
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = SolidBitmap(color, width, height).release();
  return Picture(description);
}

common::ComPtr<IPictureDisp> EmptyPicture() {
  PICTDESC description{};
  description.picType = PICTYPE_NONE;
  return Picture(description);
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

std::optional<COLORREF> PictureCentreColor(IPictureDisp* picture, int size) {
  common::ComPtr<IPicture> drawable;
  if (!picture || FAILED(common::ComPtr<IPictureDisp>(picture).As(&drawable))) return std::nullopt;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  drawable->get_Width(&width);
  drawable->get_Height(&height);
  common::WindowDc screen(nullptr);
  common::UniqueBitmap canvas(::CreateCompatibleBitmap(screen.get(), size, size));
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::SelectedObject selected(dc.get(), canvas.get());
  const RECT all{0, 0, size, size};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  // Source rectangle bottom-up, as IPicture::Render wants it.
  if (FAILED(drawable->Render(dc.get(), 0, 0, size, size, 0, height, width, -height, nullptr))) return std::nullopt;
  return ::GetPixel(dc.get(), size / 2, size / 2);
}

SHORT PictureType(IPictureDisp* picture) {
  common::ComPtr<IPicture> drawable;
  if (!picture || FAILED(common::ComPtr<IPictureDisp>(picture).As(&drawable))) return -2;
  SHORT type = -2;
  drawable->get_Type(&type);
  return type;
}

}  // namespace testing_support

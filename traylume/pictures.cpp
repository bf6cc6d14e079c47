#include "traylume/pictures.h"

#include <vector>

#include "common/hresult.h"

namespace traylume {
namespace {

constexpr int kDefaultIconSize = 32;
constexpr COLORREF kDefaultIconDisc = RGB(0x1E, 0x78, 0xD2);
constexpr COLORREF kDefaultIconDot = RGB(0xFF, 0xFF, 0xFF);

// Picture handles are 32-bit OLE_HANDLEs; GDI handles fit in them.
template <typename Handle>
Handle FromOleHandle(OLE_HANDLE handle) {
  return reinterpret_cast<Handle>(static_cast<UINT_PTR>(handle));
}

HRESULT IconFromBitmap(HBITMAP bitmap, common::UniqueIcon* icon) {
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0) {
    return CTL_E_INVALIDPICTURE;
  }
  const int width = info.bmWidth;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  // An all-zero mask: every pixel of the bitmap is shown (rows are WORD aligned).
  const size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
  std::vector<BYTE> zeros(stride * static_cast<size_t>(height), 0);
  common::UniqueBitmap mask(::CreateBitmap(width, height, 1, 1, zeros.data()));
  if (!mask) return common::LastErrorHr();
  ICONINFO parts{};
  parts.fIcon = TRUE;
  parts.hbmMask = mask.get();
  parts.hbmColor = bitmap;
  icon->reset(::CreateIconIndirect(&parts));
  return *icon ? S_OK : common::LastErrorHr();
}

}  // namespace

HRESULT MakeDefaultIcon(common::UniqueIcon* icon) {
  const int size = kDefaultIconSize;
  common::WindowDc screen(nullptr);
  if (!screen) return common::LastErrorHr();
  common::UniqueBitmap color(::CreateCompatibleBitmap(screen.get(), size, size));
  common::UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBrush disc(::CreateSolidBrush(kDefaultIconDisc));
  common::UniqueBrush dot(::CreateSolidBrush(kDefaultIconDot));
  if (!color || !mask || !dc || !disc || !dot) return common::LastErrorHr();
  const RECT all{0, 0, size, size};
  {
    // Colour: a blue disc with a white dot, black where the mask shows through.
    common::SelectedObject bitmap(dc.get(), color.get());
    common::SelectedObject pen(dc.get(), ::GetStockObject(NULL_PEN));
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    {
      common::SelectedObject brush(dc.get(), disc.get());
      ::Ellipse(dc.get(), 1, 1, size, size);
    }
    common::SelectedObject brush(dc.get(), dot.get());
    ::Ellipse(dc.get(), 11, 11, size - 10, size - 10);
  }
  {
    // Mask: 1 (white) is transparent, 0 (black) shows the colour.
    common::SelectedObject bitmap(dc.get(), mask.get());
    common::SelectedObject pen(dc.get(), ::GetStockObject(NULL_PEN));
    common::SelectedObject brush(dc.get(), ::GetStockObject(BLACK_BRUSH));
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::Ellipse(dc.get(), 1, 1, size, size);
  }
  ICONINFO parts{};
  parts.fIcon = TRUE;
  parts.hbmMask = mask.get();
  parts.hbmColor = color.get();
  icon->reset(::CreateIconIndirect(&parts));
  return *icon ? S_OK : common::LastErrorHr();
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

HRESULT TrayIconFromPicture(IPicture* picture, common::UniqueIcon* icon) {
  if (!picture) return E_POINTER;
  SHORT type = PICTYPE_NONE;
  RETURN_IF_FAILED(picture->get_Type(&type));
  OLE_HANDLE handle = 0;
  if (type != PICTYPE_ICON && type != PICTYPE_BITMAP) return CTL_E_INVALIDPICTURE;
  RETURN_IF_FAILED(picture->get_Handle(&handle));
  if (!handle) return CTL_E_INVALIDPICTURE;
  if (type == PICTYPE_BITMAP) return IconFromBitmap(FromOleHandle<HBITMAP>(handle), icon);
  icon->reset(::CopyIcon(FromOleHandle<HICON>(handle)));
  return *icon ? S_OK : common::LastErrorHr();
}

}  // namespace traylume

#include "traylume/tray_icon.h"

#include <vector>

#include "common/com_ptr.h"
#include "common/hresult.h"
#include "traylume/argb_image.h"
#include "traylume/icon_file.h"
#include "traylume/picture_bytes.h"
#include "traylume/pictures.h"

namespace traylume {
namespace {

// The icon file an icon picture saves: the file it was loaded from, with
// every image of it. False for a picture that saves anything else.
bool IconFileOf(IPicture* picture, std::vector<BYTE>* file) {
  common::ComPtr<IPictureDisp> display;
  std::vector<BYTE> saved;
  if (FAILED(common::ComPtr<IPicture>(picture).As(&display))) return false;
  if (FAILED(SavePictureBytes(display.get(), &saved))) return false;
  const BYTE* bytes = nullptr;
  size_t size = 0;
  if (!SavedIconFile(saved.data(), saved.size(), &bytes, &size)) return false;
  file->assign(bytes, bytes + size);
  return true;
}

HRESULT Checked(SharedTrayIcon made, SIZE size, SharedTrayIcon* icon) {
  HICON handle = nullptr;
  RETURN_IF_FAILED(made->At(size, &handle));
  *icon = std::move(made);
  return S_OK;
}

}  // namespace

HRESULT TrayIcon::At(SIZE size, HICON* icon) const {
  *icon = nullptr;
  if (!icon_ || size.cx != size_.cx || size.cy != size_.cy) {
    common::UniqueIcon made;
    RETURN_IF_FAILED(maker_(size, &made));
    icon_ = std::move(made);
    size_ = size;
  }
  *icon = icon_.get();
  return S_OK;
}

SIZE ShellIconSize() {
  const SIZE size{::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)};
  return size.cx > 0 && size.cy > 0 ? size : SIZE{16, 16};
}

SharedTrayIcon DefaultTrayIcon() { return std::make_shared<const TrayIcon>(&MakeDefaultIcon); }

HRESULT TrayIconFromPicture(IPicture* picture, SIZE size, SharedTrayIcon* icon) {
  if (!picture) RETURN_HR(E_POINTER);
  SHORT type = PICTYPE_NONE;
  RETURN_IF_FAILED(picture->get_Type(&type));
  std::vector<BYTE> file;
  if (type == PICTYPE_ICON && IconFileOf(picture, &file)) {
    return Checked(std::make_shared<const TrayIcon>([file](SIZE at, common::UniqueIcon* made) {
                     return IconFromIconFile(file.data(), file.size(), at, made);
                   }),
                   size, icon);
  }
  // An icon without its file, or a bitmap: drawn once now, as it looks now.
  ArgbImage drawn;
  RETURN_IF_FAILED(DrawPicture(picture, &drawn));
  return Checked(std::make_shared<const TrayIcon>([drawn](SIZE at, common::UniqueIcon* made) {
                   return IconFromImage(FitImage(drawn, at), made);
                 }),
                 size, icon);
}

}  // namespace traylume

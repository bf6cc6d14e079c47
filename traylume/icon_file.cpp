#include "traylume/icon_file.h"

#include <olectl.h>

#include <cstring>
#include <vector>

#include "common/hresult.h"
#include "traylume/argb_image.h"
#include "traylume/picture_bytes.h"

namespace traylume {
namespace {

// The version of the icon resource format that CreateIconFromResourceEx reads.
constexpr DWORD kIconFormat = 0x00030000;

// An icon file's directory in the form of an icon group resource, which
// LookupIconIdFromDirectoryEx reads: the file's entries with the image's
// offset replaced by its id (index + 1).
std::vector<BYTE> GroupDirectory(const std::vector<IconFileImage>& images) {
  constexpr size_t kHeader = 6, kEntry = 14, kEntryFields = 12;
  std::vector<BYTE> group(kHeader + kEntry * images.size(), 0);
  const WORD header[] = {0, 1, static_cast<WORD>(images.size())};
  std::memcpy(group.data(), header, sizeof(header));
  for (size_t i = 0; i < images.size(); ++i) {
    BYTE* entry = group.data() + kHeader + kEntry * i;
    std::memcpy(entry, images[i].entry, kEntryFields);  // size, colours, planes, bits, byte count
    const WORD id = static_cast<WORD>(i + 1);
    std::memcpy(entry + kEntryFields, &id, sizeof(id));
  }
  return group;
}

// The image LookupIconIdFromDirectoryEx picks for `size` (it weighs colour
// depth too) when it has that very size; else the smallest image at least
// as large in both directions; else the largest.
const IconFileImage* ChooseImage(const std::vector<IconFileImage>& images, SIZE size) {
  std::vector<BYTE> group = GroupDirectory(images);
  const int id = ::LookupIconIdFromDirectoryEx(group.data(), TRUE, size.cx, size.cy, LR_DEFAULTCOLOR);
  if (id >= 1 && static_cast<size_t>(id) <= images.size()) {
    const IconFileImage& picked = images[static_cast<size_t>(id) - 1];
    if (picked.width == size.cx && picked.height == size.cy) return &picked;
  }
  const IconFileImage* larger = nullptr;
  const IconFileImage* largest = nullptr;
  auto area = [](const IconFileImage& image) { return static_cast<long long>(image.width) * image.height; };
  for (const IconFileImage& image : images) {
    if (!largest || area(image) > area(*largest)) largest = &image;
    if (image.width < size.cx || image.height < size.cy) continue;
    if (!larger || area(image) < area(*larger)) larger = &image;
  }
  return larger ? larger : largest;
}

HRESULT MakeIcon(const IconFileImage& image, SIZE size, common::UniqueIcon* icon) {
  icon->reset(::CreateIconFromResourceEx(const_cast<BYTE*>(image.bits), image.size, TRUE, kIconFormat, size.cx,
                                         size.cy, LR_DEFAULTCOLOR));
  RETURN_LAST_ERROR_IF(!*icon);
  return S_OK;
}

}  // namespace

HRESULT IconFromIconFile(const BYTE* file, size_t fileSize, SIZE size, common::UniqueIcon* icon) {
  std::vector<IconFileImage> images;
  if (!ReadIconFile(file, fileSize, &images)) RETURN_HR(CTL_E_INVALIDPICTURE);
  const IconFileImage& image = *ChooseImage(images, size);
  if (image.width == size.cx && image.height == size.cy) return MakeIcon(image, size, icon);
  // Another size: the image at its own size, drawn and scaled smoothly
  // (the system would stretch it pixel by pixel).
  common::UniqueIcon own;
  RETURN_IF_FAILED(MakeIcon(image, {image.width, image.height}, &own));
  ArgbImage drawn;
  RETURN_IF_FAILED(CaptureDrawing({image.width, image.height}, [&](HDC dc) {
    RETURN_LAST_ERROR_IF(!::DrawIconEx(dc, 0, 0, own.get(), image.width, image.height, 0, nullptr, DI_NORMAL));
    return S_OK;
  }, &drawn));
  return IconFromImage(FitImage(drawn, size), icon);
}

}  // namespace traylume

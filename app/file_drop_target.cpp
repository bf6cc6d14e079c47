#include "app/file_drop_target.h"

#include <shellapi.h>

#include <utility>

#include "app/texts.h"

namespace app {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// A dropped file name is only copied into the text box.
DWORD EffectFor(bool accepting, DWORD allowed) {
  return accepting && (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

// Owner of a STGMEDIUM from IDataObject::GetData.
class StorageMedium {
 public:
  StorageMedium() = default;
  StorageMedium(const StorageMedium&) = delete;
  StorageMedium& operator=(const StorageMedium&) = delete;
  ~StorageMedium() {
    if (medium_.tymed != TYMED_NULL) ::ReleaseStgMedium(&medium_);
  }
  STGMEDIUM* put() { return &medium_; }
  const STGMEDIUM& get() const { return medium_; }

 private:
  STGMEDIUM medium_{};
};

}  // namespace

FileDropTarget::FileDropTarget(DropHandler onDrop) : onDrop_(std::move(onDrop)) {}

void FileDropTarget::Detach() { onDrop_ = nullptr; }

STDMETHODIMP FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  accepting_ = onDrop_ && CarriesFileList(data);
  *effect = EffectFor(accepting_, *effect);
  return S_OK;
}

STDMETHODIMP FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = EffectFor(accepting_, *effect);
  return S_OK;
}

STDMETHODIMP FileDropTarget::DragLeave() {
  accepting_ = false;
  return S_OK;
}

STDMETHODIMP FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const bool accepting = onDrop_ && CarriesFileList(data);
  accepting_ = false;
  *effect = EffectFor(accepting, *effect);
  if (accepting) {
    std::wstring path;
    common::ComResult read = FirstDroppedFile(data, &path);
    const DropHandler handler = onDrop_;  // the handler may detach this target
    handler(std::move(read), std::move(path));
  }
  return S_OK;
}

bool CarriesFileList(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

common::ComResult FirstDroppedFile(IDataObject* data, std::wstring* path) {
  if (!data || !path) return common::ComResult::Failure(E_POINTER, texts::kReadDroppedFile);
  FORMATETC format = FileListFormat();
  StorageMedium medium;
  const HRESULT got = data->GetData(&format, medium.put());
  if (FAILED(got)) return common::ComResult::Failure(got, texts::kReadDroppedFile);
  if (medium.get().tymed != TYMED_HGLOBAL || !medium.get().hGlobal) {
    return common::ComResult::Failure(DV_E_TYMED, texts::kReadDroppedFile);
  }
  HDROP files = static_cast<HDROP>(medium.get().hGlobal);
  const UINT length = ::DragQueryFileW(files, 0, nullptr, 0);
  if (length == 0) {
    return common::ComResult::Failure(DV_E_FORMATETC, texts::kReadDroppedFile, texts::kNoDroppedFile);
  }
  std::wstring first(length + 1, L'\0');
  first.resize(::DragQueryFileW(files, 0, first.data(), length + 1));
  *path = std::move(first);
  return common::ComResult::Success();
}

}  // namespace app

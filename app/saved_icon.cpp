#include "app/saved_icon.h"

#include <cstring>

#include "app/texts.h"
#include "common/hresult.h"
#include "common/unique_handle.h"
#include "resources/resource_ids.h"

namespace app {
namespace {

HRESULT LoadIconResource(common::ComPtr<IPictureDisp>* icon) {
  HMODULE program = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(IDR_SAVED_ICON), RT_RCDATA);
  RETURN_LAST_ERROR_IF(!found);
  const DWORD size = ::SizeofResource(program, found);
  HGLOBAL loaded = ::LoadResource(program, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  RETURN_LAST_ERROR_IF(!bytes || size == 0);

  // The stream takes a copy in movable memory, which it frees itself.
  common::UniqueHGlobal copy(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (!copy) RETURN_HR(E_OUTOFMEMORY);
  void* target = ::GlobalLock(copy.get());
  RETURN_LAST_ERROR_IF(!target);
  std::memcpy(target, bytes, size);
  ::GlobalUnlock(copy.get());
  common::ComPtr<IStream> stream;
  RETURN_IF_FAILED(::CreateStreamOnHGlobal(copy.get(), TRUE, stream.put()));
  copy.release();
  return ::OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPictureDisp, icon->put_void());
}

}  // namespace

common::ComResult LoadSavedIcon(common::ComPtr<IPictureDisp>* icon) {
  const HRESULT hr = LoadIconResource(icon);
  if (FAILED(hr)) {
    icon->reset();
    return common::ComResult::Failure(hr, texts::kLoadSavedIcon);
  }
  return common::ComResult::Success();
}

}  // namespace app

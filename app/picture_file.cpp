#include "app/picture_file.h"

#include "app/texts.h"
#include "common/bstr.h"
#include "common/hresult.h"

namespace app {
namespace {

// The loader needs an absolute path.
HRESULT FullPath(const std::wstring& fileName, std::wstring* fullPath) {
  const DWORD size = ::GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
  RETURN_LAST_ERROR_IF(size == 0);
  std::wstring path(size, L'\0');
  const DWORD length = ::GetFullPathNameW(fileName.c_str(), size, path.data(), nullptr);
  RETURN_LAST_ERROR_IF(length == 0 || length >= size);
  path.resize(length);
  *fullPath = std::move(path);
  return S_OK;
}

// Why a file the loader refused could not be loaded. The loader's own codes
// differ between systems, so the file itself is asked.
std::wstring ReasonForRefusal(const std::wstring& fullPath) {
  const DWORD attributes = ::GetFileAttributesW(fullPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
        error == ERROR_BAD_NETPATH || error == ERROR_BAD_PATHNAME || error == ERROR_INVALID_DRIVE) {
      return texts::kFileNotFound;
    }
    return common::SystemMessage(HRESULT_FROM_WIN32(error));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return texts::kIsFolder;
  return texts::kNotAPicture;
}

}  // namespace

common::ComResult LoadPictureFile(const std::wstring& fileName, common::ComPtr<IPictureDisp>* picture) {
  if (fileName.empty()) {
    return common::ComResult::Failure(E_INVALIDARG, texts::LoadIconFile(fileName), texts::kNoFileName);
  }
  std::wstring fullPath;
  const HRESULT resolved = FullPath(fileName, &fullPath);
  if (FAILED(resolved)) {
    return common::ComResult::Failure(resolved, texts::LoadIconFile(fileName), texts::kFileNotFound);
  }
  common::UniqueBstr name(fullPath);
  HRESULT loaded = ::OleLoadPicturePath(name.get(), nullptr, 0, 0, IID_IPictureDisp, picture->put_void());
  if (SUCCEEDED(loaded) && *picture) return common::ComResult::Success();
  if (SUCCEEDED(loaded)) loaded = E_FAIL;
  picture->reset();
  return common::ComResult::Failure(loaded, texts::LoadIconFile(fullPath), ReasonForRefusal(fullPath));
}

}  // namespace app

#include "tests/support/registry_guard.h"

#include <algorithm>

#include "common/unique_handle.h"

namespace support {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes";
constexpr wchar_t kBackup[] = L"Software\\TraylumeTestsSavedClasses";

common::UniqueRegKey Created(HKEY root, const std::wstring& path) {
  common::UniqueRegKey key;
  ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  return key;
}

}  // namespace

ClassesGuard::ClassesGuard(std::vector<std::wstring> keys, std::wstring prefix)
    : keys_(std::move(keys)), prefix_(std::move(prefix)) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kBackup);
  const common::UniqueRegKey classes = Created(HKEY_LOCAL_MACHINE, kClasses);
  for (const std::wstring& path : Guarded()) {
    common::UniqueRegKey key;
    if (::RegOpenKeyExW(classes.get(), path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) continue;
    const common::UniqueRegKey copy = Created(HKEY_CURRENT_USER, kBackup + (L"\\" + std::to_wstring(saved_.size())));
    ::RegCopyTreeW(key.get(), nullptr, copy.get());
    saved_.push_back(path);
  }
}

ClassesGuard::~ClassesGuard() {
  const common::UniqueRegKey classes = Created(HKEY_LOCAL_MACHINE, kClasses);
  for (const std::wstring& path : Guarded()) ::RegDeleteTreeW(classes.get(), path.c_str());
  for (size_t i = 0; i < saved_.size(); ++i) {
    const common::UniqueRegKey copy = Created(HKEY_CURRENT_USER, kBackup + (L"\\" + std::to_wstring(i)));
    const common::UniqueRegKey key = Created(classes.get(), saved_[i]);
    ::RegCopyTreeW(copy.get(), nullptr, key.get());
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kBackup);
}

std::vector<std::wstring> ClassesGuard::Guarded() const {
  std::vector<std::wstring> guarded = keys_;
  common::UniqueRegKey classes;
  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClasses, 0, KEY_READ, classes.put());
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(std::size(name));
    if (::RegEnumKeyExW(classes.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (::CompareStringOrdinal(name, static_cast<int>(std::min<size_t>(length, prefix_.size())), prefix_.c_str(),
                               static_cast<int>(prefix_.size()), TRUE) == CSTR_EQUAL) {
      guarded.push_back(name);
    }
  }
  return guarded;
}

}  // namespace support

#include "traylume/registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <string_view>

#include "common/hresult.h"
#include "common/module.h"
#include "common/unique_handle.h"
#include "traylume/registry_table.h"
#include "traylume/type_library.h"

namespace traylume {
namespace {

// Fills in the table's words for this module.
class Expander {
 public:
  explicit Expander(const std::wstring& modulePath) {
    place_.module = modulePath;
    place_.moduleDir = common::FolderOf(modulePath);
#ifdef _WIN64
    place_.platform = L"win64";
#else
    place_.platform = L"win32";
#endif
  }

  std::wstring operator()(std::wstring_view text) const { return ExpandRegistryText(text, place_); }
  const RegistryPlace& place() const { return place_; }

 private:
  RegistryPlace place_;
};

HRESULT OpenClassesRoot(RegistrationScope scope, REGSAM access, common::UniqueRegKey* root) {
  const HKEY hive = scope == RegistrationScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const LONG status = ::RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, root->put(), nullptr);
  if (status != ERROR_SUCCESS) RETURN_HR(HRESULT_FROM_WIN32(status));
  return S_OK;
}

HRESULT WriteEntry(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring* value) {
  common::UniqueRegKey opened;
  LONG status = ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  nullptr, opened.put(), nullptr);
  if (status != ERROR_SUCCESS) RETURN_HR(HRESULT_FROM_WIN32(status));
  if (!value) return S_OK;
  const DWORD bytes = static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t));
  status = ::RegSetValueExW(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()), bytes);
  if (status != ERROR_SUCCESS) RETURN_HR(HRESULT_FROM_WIN32(status));
  return S_OK;
}

HRESULT DeleteTree(HKEY root, const std::wstring& key) {
  const LONG status = ::RegDeleteTreeW(root, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
    // RegDeleteTree leaves the key itself when it has no subkeys on some systems.
    const LONG removed = ::RegDeleteKeyW(root, key.c_str());
    if (removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND || removed == ERROR_PATH_NOT_FOUND) return S_OK;
    RETURN_HR(HRESULT_FROM_WIN32(removed));
  }
  RETURN_HR(HRESULT_FROM_WIN32(status));
}

bool NamesOurClass(HKEY root, const std::wstring& progIdKey, const std::wstring& clsid) {
  wchar_t value[64] = {};
  DWORD bytes = sizeof(value) - sizeof(wchar_t);
  const std::wstring key = progIdKey + L"\\CLSID";
  if (::RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
    return false;
  }
  return ::CompareStringOrdinal(value, -1, clsid.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Removes this platform's file from the type library's key, and the key
// itself once no other platform's is left.
HRESULT RemoveTypeLib(HKEY root, const Expander& expand) {
  const std::wstring platforms = expand(kTypeLibPlatforms);
  RETURN_IF_FAILED(DeleteTree(root, platforms + expand(L"\\%PLATFORM%")));
  common::UniqueRegKey left;
  DWORD others = 0;
  if (::RegOpenKeyExW(root, platforms.c_str(), 0, KEY_READ, left.put()) == ERROR_SUCCESS &&
      ::RegQueryInfoKeyW(left.get(), nullptr, nullptr, nullptr, &others, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS &&
      others > 0) {
    return S_OK;
  }
  return DeleteTree(root, expand(kTypeLibKey));
}

HRESULT RemoveEntries(HKEY root, const Expander& expand) {
  HRESULT result = RemoveTypeLib(root, expand);
  for (const wchar_t* key : kOwnedKeys) {
    const HRESULT hr = DeleteTree(root, expand(key));
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  const std::wstring clsid = expand(L"%CLSID%");
  for (const wchar_t* key : kProgIdKeys) {
    const std::wstring progId = expand(key);
    if (!NamesOurClass(root, progId, clsid)) continue;
    const HRESULT hr = DeleteTree(root, progId);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

}  // namespace

HRESULT RegisterServer(RegistrationScope scope) {
  const std::wstring module = common::ModulePath(common::ThisModule());
  RETURN_LAST_ERROR_IF(module.empty());
  // Registering a server whose type library does not load would leave
  // hosts with a class they cannot describe.
  common::ComPtr<ITypeLib> library;
  if (FAILED(LoadOwnTypeLib(&library))) RETURN_HR(SELFREG_E_TYPELIB);

  common::UniqueRegKey root;
  RETURN_IF_FAILED(OpenClassesRoot(scope, KEY_ALL_ACCESS, &root));
  const Expander expand(module);
  for (const RegistryRow& row : RegistryRows(expand.place())) {
    const HRESULT hr = WriteEntry(root.get(), row.key, row.name, row.value ? &*row.value : nullptr);
    if (FAILED(hr)) {
      RemoveEntries(root.get(), expand);  // no half registration
      return hr;
    }
  }
  return S_OK;
}

HRESULT UnregisterServer(RegistrationScope scope) {
  common::UniqueRegKey root;
  RETURN_IF_FAILED(OpenClassesRoot(scope, KEY_ALL_ACCESS, &root));
  return RemoveEntries(root.get(), Expander(common::ModulePath(common::ThisModule())));
}

}  // namespace traylume

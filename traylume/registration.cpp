#include "traylume/registration.h"

#include <oleauto.h>

#include <string>
#include <string_view>

#include "common/hresult.h"
#include "common/module.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "traylume/class_identity.h"
#include "traylume/resource_ids.h"
#include "traylume/type_library.h"

namespace traylume {
namespace {

// One value to write: key and value name (nullptr: the key's default
// value); a value of nullptr creates the key only. Words between % are
// filled in at run time (see Expand).
struct RegistryEntry {
  const wchar_t* key;
  const wchar_t* name;
  const wchar_t* value;
};

constexpr RegistryEntry kEntries[] = {
    {L"CLSID\\%CLSID%", nullptr, L"%DESCRIPTION%"},
    {L"CLSID\\%CLSID%\\InprocServer32", nullptr, L"%MODULE%"},
    {L"CLSID\\%CLSID%\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {L"CLSID\\%CLSID%\\ProgID", nullptr, L"%VERSIONEDPROGID%"},
    {L"CLSID\\%CLSID%\\VersionIndependentProgID", nullptr, L"%PROGID%"},
    {L"CLSID\\%CLSID%\\TypeLib", nullptr, L"%LIBID%"},
    {L"CLSID\\%CLSID%\\Version", nullptr, L"%VERSION%"},
    {L"CLSID\\%CLSID%\\Control", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\Programmable", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\MiscStatus", nullptr, L"0"},
    {L"CLSID\\%CLSID%\\MiscStatus\\1", nullptr, L"%MISCSTATUS%"},
    {L"CLSID\\%CLSID%\\ToolboxBitmap32", nullptr, L"%MODULE%, %TOOLBOXBITMAP%"},
    // What the class is, for containers that look: a control, programmable
    // through automation, safe to initialise from untrusted data.
    {L"CLSID\\%CLSID%\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}", nullptr, nullptr},
    {L"%PROGID%", nullptr, L"%DESCRIPTION%"},
    {L"%PROGID%\\CLSID", nullptr, L"%CLSID%"},
    {L"%PROGID%\\CurVer", nullptr, L"%VERSIONEDPROGID%"},
    {L"%VERSIONEDPROGID%", nullptr, L"%DESCRIPTION%"},
    {L"%VERSIONEDPROGID%\\CLSID", nullptr, L"%CLSID%"},
    {L"TypeLib\\%LIBID%\\%VERSION%", nullptr, L"Traylume notification area icon control"},
    {L"TypeLib\\%LIBID%\\%VERSION%\\0\\%PLATFORM%", nullptr, L"%MODULE%"},
    {L"TypeLib\\%LIBID%\\%VERSION%\\FLAGS", nullptr, L"2"},  // LIBFLAG_FCONTROL
    {L"TypeLib\\%LIBID%\\%VERSION%\\HELPDIR", nullptr, L"%MODULEDIR%"},
    {L"Interface\\%CONTROLIID%", nullptr, L"ITraylume"},
    {L"Interface\\%CONTROLIID%\\ProxyStubClsid", nullptr, L"%DISPATCHPROXY%"},
    {L"Interface\\%CONTROLIID%\\ProxyStubClsid32", nullptr, L"%DISPATCHPROXY%"},
    {L"Interface\\%CONTROLIID%\\TypeLib", nullptr, L"%LIBID%"},
    {L"Interface\\%CONTROLIID%\\TypeLib", L"Version", L"%VERSION%"},
    {L"Interface\\%EVENTSIID%", nullptr, L"ITraylumeEvents"},
    {L"Interface\\%EVENTSIID%\\ProxyStubClsid", nullptr, L"%DISPATCHPROXY%"},
    {L"Interface\\%EVENTSIID%\\ProxyStubClsid32", nullptr, L"%DISPATCHPROXY%"},
    {L"Interface\\%EVENTSIID%\\TypeLib", nullptr, L"%LIBID%"},
    {L"Interface\\%EVENTSIID%\\TypeLib", L"Version", L"%VERSION%"},
};

// Keys that belong to this server alone: unregistering removes each with
// everything below it.
constexpr const wchar_t* kOwnedKeys[] = {L"CLSID\\%CLSID%", L"Interface\\%CONTROLIID%", L"Interface\\%EVENTSIID%"};
// The type library's key is one for both registry views: a 32-bit and a
// 64-bit control registered side by side each name their own file below it.
constexpr wchar_t kTypeLibKey[] = L"TypeLib\\%LIBID%";
constexpr wchar_t kTypeLibPlatforms[] = L"TypeLib\\%LIBID%\\%VERSION%\\0";
// ProgIDs are shared names: removed only while they still name our class.
constexpr const wchar_t* kProgIdKeys[] = {L"%PROGID%", L"%VERSIONEDPROGID%"};

// The automation marshaler (PSDispatch) serves dispinterfaces.
constexpr const wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

class Expander {
 public:
  explicit Expander(std::wstring modulePath) : module_(std::move(modulePath)) {}

  std::wstring operator()(std::wstring_view text) const {
    std::wstring out;
    size_t at = 0;
    while (at < text.size()) {
      const size_t open = text.find(L'%', at);
      if (open == std::wstring_view::npos) break;
      const size_t close = text.find(L'%', open + 1);
      if (close == std::wstring_view::npos) break;
      out.append(text.substr(at, open - at));
      out.append(Word(text.substr(open + 1, close - open - 1)));
      at = close + 1;
    }
    out.append(text.substr(at));
    return out;
  }

 private:
  std::wstring Word(std::wstring_view word) const {
    if (word == L"CLSID") return common::GuidText(CLSID_Traylume);
    if (word == L"LIBID") return common::GuidText(LIBID_TraylumeControl);
    if (word == L"CONTROLIID") return common::GuidText(DIID_ITraylume);
    if (word == L"EVENTSIID") return common::GuidText(DIID_ITraylumeEvents);
    if (word == L"PROGID") return kProgId;
    if (word == L"VERSIONEDPROGID") return kVersionedProgId;
    if (word == L"DESCRIPTION") return kClassDescription;
    if (word == L"VERSION") return std::to_wstring(kTypeLibMajor) + L"." + std::to_wstring(kTypeLibMinor);
    if (word == L"MODULE") return module_;
    if (word == L"MODULEDIR") return common::FolderOf(module_);
    if (word == L"MISCSTATUS") return std::to_wstring(kMiscStatus);
    if (word == L"TOOLBOXBITMAP") return std::to_wstring(IDB_TOOLBOX);
    if (word == L"DISPATCHPROXY") return kDispatchProxy;
#ifdef _WIN64
    if (word == L"PLATFORM") return L"win64";
#else
    if (word == L"PLATFORM") return L"win32";
#endif
    return std::wstring(word);
  }

  std::wstring module_;
};

HRESULT OpenClassesRoot(RegistrationScope scope, REGSAM access, common::UniqueRegKey* root) {
  const HKEY hive = scope == RegistrationScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const LONG status = ::RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, root->put(), nullptr);
  return HRESULT_FROM_WIN32(status);
}

HRESULT WriteEntry(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring* value) {
  common::UniqueRegKey opened;
  LONG status = ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  nullptr, opened.put(), nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  if (!value) return S_OK;
  const DWORD bytes = static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t));
  status = ::RegSetValueExW(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()), bytes);
  return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(HKEY root, const std::wstring& key) {
  const LONG status = ::RegDeleteTreeW(root, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
    // RegDeleteTree leaves the key itself when it has no subkeys on some systems.
    const LONG removed = ::RegDeleteKeyW(root, key.c_str());
    if (removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND || removed == ERROR_PATH_NOT_FOUND) return S_OK;
    return HRESULT_FROM_WIN32(removed);
  }
  return HRESULT_FROM_WIN32(status);
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
  if (module.empty()) return common::LastErrorHr();
  // Registering a server whose type library does not load would leave
  // hosts with a class they cannot describe.
  common::ComPtr<ITypeLib> library;
  if (FAILED(LoadOwnTypeLib(&library))) return SELFREG_E_TYPELIB;

  common::UniqueRegKey root;
  RETURN_IF_FAILED(OpenClassesRoot(scope, KEY_ALL_ACCESS, &root));
  const Expander expand(module);
  for (const RegistryEntry& entry : kEntries) {
    const std::wstring value = entry.value ? expand(entry.value) : std::wstring();
    const HRESULT hr = WriteEntry(root.get(), expand(entry.key), entry.name, entry.value ? &value : nullptr);
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

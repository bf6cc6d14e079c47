#include "component/registration_free.h"

#include <oleauto.h>

#include "common/bstr.h"
#include "common/hresult.h"
#include "common/type_attr.h"
#include "common/unique_handle.h"

namespace component {
namespace {

// The class part of a ProgID: "Traylume" of "TraylumeControl.Traylume".
std::wstring ClassPart(std::wstring_view progId) {
  const size_t dot = progId.find(L'.');
  std::wstring_view rest = dot == std::wstring_view::npos ? progId : progId.substr(dot + 1);
  return std::wstring(rest.substr(0, rest.find(L'.')));
}

}  // namespace

HRESULT FindCreatableClass(const std::wstring& path, std::wstring_view className, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_NULL;
  common::ComPtr<ITypeLib> library;
  RETURN_IF_FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()));
  const std::wstring wanted(className);
  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    TYPEKIND kind{};
    common::ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
    if (FAILED(library->GetTypeInfo(i, info.put()))) continue;
    const common::TypeAttr attr(info.get());
    if (!attr || !(attr->wTypeFlags & TYPEFLAG_FCANCREATE)) continue;
    common::UniqueBstr name;
    library->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
    const bool named = ::CompareStringOrdinal(name.str().c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL;
    if (named || *clsid == CLSID_NULL) *clsid = attr->guid;
    if (named) return S_OK;
  }
  return *clsid == CLSID_NULL ? REGDB_E_CLASSNOTREG : S_OK;
}

HRESULT CreateWithoutRegistration(std::wstring_view progId, const std::wstring& folder,
                                  std::wstring_view fileName, common::ComPtr<IUnknown>* object) {
  if (!object) return E_POINTER;
  object->reset();
  if (folder.empty()) RETURN_HR(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  const std::wstring path = folder + L"\\" + std::wstring(fileName);
  RETURN_LAST_ERROR_IF(::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES);

  CLSID clsid = CLSID_NULL;
  RETURN_IF_FAILED(FindCreatableClass(path, ClassPart(progId), &clsid));
  common::UniqueModule server(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  RETURN_LAST_ERROR_IF(!server);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void (*)()>(::GetProcAddress(server.get(), "DllGetClassObject")));
  RETURN_LAST_ERROR_IF(!getClassObject);
  {
    common::ComPtr<IClassFactory> factory;
    RETURN_IF_FAILED(getClassObject(clsid, IID_IClassFactory, factory.put_void()));
    RETURN_IF_FAILED(factory->CreateInstance(nullptr, IID_IUnknown, object->put_void()));
  }
  server.release();  // loaded for good: the object's code lives in it
  return S_OK;
}

}  // namespace component

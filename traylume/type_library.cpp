#include "traylume/type_library.h"

#include <oleauto.h>

#include "common/hresult.h"
#include "common/module.h"

namespace traylume {

HRESULT LoadOwnTypeLib(common::ComPtr<ITypeLib>* library) {
  const std::wstring path = common::ModulePath(common::ThisModule());
  if (path.empty()) RETURN_HR(E_UNEXPECTED);
  return ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library->put());
}

HRESULT OwnTypeInfo(REFGUID guid, common::ComPtr<ITypeInfo>* info) {
  common::ComPtr<ITypeLib> library;
  RETURN_IF_FAILED(LoadOwnTypeLib(&library));
  return library->GetTypeInfoOfGuid(guid, info->put());
}

}  // namespace traylume

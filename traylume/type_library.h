#pragma once
// The type library embedded in Traylume.ocx (resource TYPELIB 1).

#include <windows.h>
#include <oaidl.h>

#include "common/com_ptr.h"

namespace traylume {

HRESULT LoadOwnTypeLib(common::ComPtr<ITypeLib>* library);

// The type info of `guid` (the class or one of its dispinterfaces).
HRESULT OwnTypeInfo(REFGUID guid, common::ComPtr<ITypeInfo>* info);

}  // namespace traylume

#pragma once
// The classes this server makes, as data: one generic class factory serves
// every row of {CLSID, create function}.

#include <windows.h>
#include <unknwn.h>

#include <cstddef>

namespace traylume {

using CreateFunction = HRESULT (*)(REFIID iid, void** object);

struct ClassEntry {
  const CLSID* clsid;
  CreateFunction create;
};

// DllGetClassObject over `classes`.
HRESULT GetClassFactory(const ClassEntry* classes, size_t count, REFCLSID clsid, REFIID iid, void** factory);

}  // namespace traylume

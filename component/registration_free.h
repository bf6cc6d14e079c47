#pragma once
// Creating a COM class from a DLL next to the program without registration:
// the class comes from the DLL's own type library, and its object from the
// DLL's class factory, as COM itself would get it from a registered server.

#include <windows.h>
#include <ole2.h>

#include <string>
#include <string_view>

#include "common/com_ptr.h"

namespace component {

// The creatable class in the type library embedded in `path`: the one named
// `className` if there is one, else the first creatable one.
HRESULT FindCreatableClass(const std::wstring& path, std::wstring_view className, CLSID* clsid);

// Creates the class that `progId` names (its part after the first dot, e.g.
// "Traylume") from `fileName` in `folder`: the file is loaded and asked for
// the class through DllGetClassObject. The file stays loaded for the rest of
// the process, as COM keeps a server it loaded while its objects may live.
HRESULT CreateWithoutRegistration(std::wstring_view progId, const std::wstring& folder,
                                  std::wstring_view fileName, common::ComPtr<IUnknown>* object);

}  // namespace component

#pragma once
// Creating a COM class from a DLL next to the program without registration:
// the class comes from the DLL's own type library, and an activation context
// made at run time from a manifest tells COM where it lives.

#include <windows.h>
#include <ole2.h>

#include <string>
#include <string_view>

#include "common/com_ptr.h"

namespace component {

// The creatable class in the type library embedded in `path`: the one named
// `className` if there is one, else the first creatable one. Also gives the
// library's id and version for the manifest.
struct EmbeddedClass {
  CLSID clsid = CLSID_NULL;
  GUID library = GUID_NULL;
  WORD majorVersion = 0;
  WORD minorVersion = 0;
};
HRESULT FindCreatableClass(const std::wstring& path, std::wstring_view className, EmbeddedClass* found);

// The manifest that declares `found` as `progId` in `fileName`.
std::string ClassManifest(std::wstring_view progId, std::wstring_view fileName, const EmbeddedClass& found);

// Creates `progId` from `fileName` in `folder` through a run-time activation
// context. Its manifest is written for a moment beside the program (else to
// the temporary folder) and deleted once the context exists. The context is
// released again once the object exists: COM has loaded the DLL by then and
// keeps it loaded while the object lives.
HRESULT CreateWithoutRegistration(std::wstring_view progId, const std::wstring& folder,
                                  std::wstring_view fileName, common::ComPtr<IUnknown>* object);

}  // namespace component

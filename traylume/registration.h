#pragma once
// Registration of the control's class, ProgIDs, type library and
// interfaces, driven by one table of registry entries.

#include <windows.h>

namespace traylume {

enum class RegistrationScope {
  kMachine,  // HKLM\Software\Classes: what regsvr32 does
  kUser,     // HKCU\Software\Classes: DllInstall with "user"
};

HRESULT RegisterServer(RegistrationScope scope);
// Removes what RegisterServer wrote; keys that are already gone are fine.
HRESULT UnregisterServer(RegistrationScope scope);

}  // namespace traylume

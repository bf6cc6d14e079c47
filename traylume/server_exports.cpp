// The entry points of Traylume.ocx as an in-process COM server.

#include <windows.h>
#include <ole2.h>

#include <iterator>

#include "common/module_lock.h"
#include "traylume/class_factory.h"
#include "traylume/class_identity.h"
#include "traylume/registration.h"
#include "traylume/tray_window.h"
#include "traylume/traylume_control.h"

namespace {

const traylume::ClassEntry kClasses[] = {
    {&CLSID_Traylume, &traylume::CreateTraylumeControl},
};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void* reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(module);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary while the process goes on: a class left
    // registered would point at this module's window procedure after it
    // is gone. At process exit (reserved != nullptr) there is nothing to do.
    traylume::UnregisterTrayWindowClass();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** factory) {
  return traylume::GetClassFactory(kClasses, std::size(kClasses), clsid, iid, factory);
}

STDAPI DllCanUnloadNow() { return common::module_lock::Count() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return traylume::RegisterServer(traylume::RegistrationScope::kMachine); }

STDAPI DllUnregisterServer() { return traylume::UnregisterServer(traylume::RegistrationScope::kMachine); }

// regsvr32 /i:user [/u] Traylume.ocx registers (removes) the control for
// the current user only; no command line means machine-wide.
STDAPI DllInstall(BOOL install, PCWSTR commandLine) {
  traylume::RegistrationScope scope = traylume::RegistrationScope::kMachine;
  if (commandLine && *commandLine) {
    if (::CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) == CSTR_EQUAL) {
      scope = traylume::RegistrationScope::kUser;
    } else if (::CompareStringOrdinal(commandLine, -1, L"machine", -1, TRUE) != CSTR_EQUAL) {
      return E_INVALIDARG;
    }
  }
  return install ? traylume::RegisterServer(scope) : traylume::UnregisterServer(scope);
}

}  // extern "C"

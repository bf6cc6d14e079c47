#pragma once
// The control's own registration entry points, called in the test's
// process: what regsvr32 does, without a second program.

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace e2e {

class ControlServer {
 public:
  explicit ControlServer(const std::wstring& path);

  // S_OK once the file is loaded; else why not.
  HRESULT loaded() const { return loaded_; }
  HRESULT Register() const { return Call("DllRegisterServer"); }
  HRESULT Unregister() const { return Call("DllUnregisterServer"); }

 private:
  HRESULT Call(const char* entry) const;

  common::UniqueModule module_;
  HRESULT loaded_ = E_FAIL;
};

// The control registered machine-wide for the object's life, and always
// unregistered when it ends.
class ScopedRegistration {
 public:
  explicit ScopedRegistration(const ControlServer& server) : server_(server), result_(server.Register()) {}
  ScopedRegistration(const ScopedRegistration&) = delete;
  ScopedRegistration& operator=(const ScopedRegistration&) = delete;
  ~ScopedRegistration() { server_.Unregister(); }
  HRESULT result() const { return result_; }

 private:
  const ControlServer& server_;
  HRESULT result_;
};

// Whether "TraylumeControl.Traylume" resolves through the registry.
bool ProgIdRegistered();

// The full paths of the modules named `fileName` that process `processId`
// has loaded (empty when none, or when the list cannot be read).
std::vector<std::wstring> LoadedModulePaths(DWORD processId, const std::wstring& fileName);

}  // namespace e2e

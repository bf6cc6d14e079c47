#pragma once
// Traylume.ocx as the tests load it: from the folder of the test program,
// with LoadLibrary, through its exported entry points, so most tests need
// no registration.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "common/com_ptr.h"
#include "common/unique_handle.h"

namespace traylume_tests {

class OcxServer {
 public:
  // The one loaded copy, loaded at first use and kept for the whole run.
  static OcxServer& Get();

  HMODULE module() const { return module_.get(); }
  const std::wstring& path() const { return path_; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;
  // S_OK when no object of the server is alive and no lock is held.
  HRESULT CanUnloadNow() const;
  HRESULT RegisterServer() const;
  HRESULT UnregisterServer() const;
  HRESULT Install(bool install, const wchar_t* commandLine) const;

  // A new control, as CoCreateInstance would make it.
  HRESULT Create(common::ComPtr<IDispatch>* control) const;

 private:
  OcxServer();
  template <typename Function, typename... Arguments>
  HRESULT CallExport(const char* name, Arguments&&... arguments) const;

  std::wstring path_;
  common::UniqueModule module_;
};

// The folder that holds the running test program, without a trailing slash.
std::wstring ProgramDirectory();

}  // namespace traylume_tests

#include "tests/traylume/ocx_server.h"

#include <utility>

#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using NoArgumentFunction = HRESULT(STDAPICALLTYPE*)();
using InstallFunction = HRESULT(STDAPICALLTYPE*)(BOOL, PCWSTR);

}  // namespace

std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH * 4] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring text(path, length);
  const size_t slash = text.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : text.substr(0, slash);
}

OcxServer& OcxServer::Get() {
  // Never unloaded: COM (CoCreateInstance in the registration tests) loads
  // the same module and may still hold it when the process ends.
  static OcxServer* server = new OcxServer;
  return *server;
}

OcxServer::OcxServer() : path_(ProgramDirectory() + L"\\Traylume.ocx") {
  module_.reset(::LoadLibraryW(path_.c_str()));
}

template <typename Function, typename... Arguments>
HRESULT OcxServer::CallExport(const char* name, Arguments&&... arguments) const {
  const auto function =
      module_ ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module_.get(), name)))
              : nullptr;
  return function ? function(std::forward<Arguments>(arguments)...) : HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
}

HRESULT OcxServer::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
  return CallExport<GetClassObjectFunction>("DllGetClassObject", clsid, iid, object);
}
HRESULT OcxServer::CanUnloadNow() const { return CallExport<NoArgumentFunction>("DllCanUnloadNow"); }
HRESULT OcxServer::RegisterServer() const { return CallExport<NoArgumentFunction>("DllRegisterServer"); }
HRESULT OcxServer::UnregisterServer() const { return CallExport<NoArgumentFunction>("DllUnregisterServer"); }
HRESULT OcxServer::Install(bool install, const wchar_t* commandLine) const {
  return CallExport<InstallFunction>("DllInstall", install ? TRUE : FALSE, commandLine);
}

HRESULT OcxServer::Create(common::ComPtr<IDispatch>* control) const {
  common::ComPtr<IClassFactory> factory;
  HRESULT hr = GetClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IDispatch, control->put_void());
}

}  // namespace traylume_tests

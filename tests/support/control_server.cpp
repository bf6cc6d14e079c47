#include "tests/support/control_server.h"

#include "common/module.h"
#include "contract/traylume_contract.h"
#include "traylume_idl.h"

namespace support {
namespace {

template <typename Function>
Function Export(const char* name) {
  HMODULE module = ControlModule();
  return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)))
                : nullptr;
}

template <typename Function, typename... Arguments>
HRESULT CallExport(const char* name, Arguments... arguments) {
  const Function function = Export<Function>(name);
  return function ? function(arguments...) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

using NoArguments = HRESULT(STDAPICALLTYPE*)();
using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

}  // namespace

std::wstring ControlPath() {
  return common::FolderOf(common::ModulePath(nullptr)) + L"\\" + contract::kFileName;
}

HMODULE ControlModule() {
  // Never freed: COM may load the same module and still hold it at exit.
  static HMODULE module = ::LoadLibraryW(ControlPath().c_str());
  return module;
}

HRESULT ControlClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return CallExport<GetClassObject>("DllGetClassObject", clsid, iid, object);
}

HRESULT ControlCanUnloadNow() { return CallExport<NoArguments>("DllCanUnloadNow"); }
HRESULT RegisterControl() { return CallExport<NoArguments>("DllRegisterServer"); }
HRESULT UnregisterControl() { return CallExport<NoArguments>("DllUnregisterServer"); }

HRESULT CreateControl(common::ComPtr<IDispatch>* control) {
  common::ComPtr<IClassFactory> factory;
  const HRESULT hr = ControlClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IDispatch, control->put_void());
}

}  // namespace support

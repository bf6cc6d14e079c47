#pragma once
// Traylume.ocx beside the test program, reached through its exports (so no
// test needs it registered), loaded for the whole run (COM may load it too).

#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/module.h"
#include "contract/traylume_contract.h"
#include "traylume_idl.h"

namespace support {

inline std::wstring ControlPath() { return common::FolderOf(common::ModulePath(nullptr)) + L"\\" + contract::kFileName; }

inline HMODULE ControlModule() {
  static const HMODULE module = ::LoadLibraryW(ControlPath().c_str());
  return module;
}

// Calls the module's export `name`.
template <typename... Arguments>
HRESULT CallExport(const char* name, Arguments... arguments) {
  using Function = HRESULT(STDAPICALLTYPE*)(Arguments...);
  const auto function =
      reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(ControlModule(), name)));
  return function ? function(arguments...) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

inline HRESULT ControlCanUnloadNow() { return CallExport("DllCanUnloadNow"); }
inline HRESULT RegisterControl() { return CallExport("DllRegisterServer"); }
inline HRESULT UnregisterControl() { return CallExport("DllUnregisterServer"); }
inline HRESULT ControlClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return CallExport<REFCLSID, REFIID, void**>("DllGetClassObject", clsid, iid, object);
}

// A new control, as its class factory makes it.
inline HRESULT CreateControl(common::ComPtr<IDispatch>* control) {
  common::ComPtr<IClassFactory> factory;
  const HRESULT hr = ControlClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void());
  return FAILED(hr) ? hr : factory->CreateInstance(nullptr, IID_IDispatch, control->put_void());
}

// The connection point of `control`'s events.
inline common::ComPtr<IConnectionPoint> EventPointOf(const common::ComPtr<IDispatch>& control) {
  common::ComPtr<IConnectionPointContainer> container;
  common::ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(control.As(&container))) container->FindConnectionPoint(DIID_ITraylumeEvents, point.put());
  return point;
}

// The sinks advised on `control`'s events, as its connection point lists them.
inline std::vector<common::ComPtr<IDispatch>> EventSinksOf(const common::ComPtr<IDispatch>& control) {
  const common::ComPtr<IConnectionPoint> point = EventPointOf(control);
  common::ComPtr<IEnumConnections> connections;
  std::vector<common::ComPtr<IDispatch>> sinks;
  if (!point || FAILED(point->EnumConnections(connections.put()))) return sinks;
  for (CONNECTDATA data{}; connections->Next(1, &data, nullptr) == S_OK; data.pUnk->Release()) {
    sinks.emplace_back(static_cast<IDispatch*>(data.pUnk));
  }
  return sinks;
}

}  // namespace support

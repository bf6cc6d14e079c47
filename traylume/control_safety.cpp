// IObjectSafety: the control's deliberate mark. Safe to initialise from
// untrusted data: every reader of its saved state and property bags checks
// what it reads before anything uses it. Not safe to script from untrusted
// callers: a web page could show balloons that look like the system's own.

#include <objsafe.h>

#include "common/hresult.h"
#include "traylume/traylume_control.h"

namespace traylume {
namespace {

bool IsInitialisation(REFIID iid) {
  return iid == IID_IPersistPropertyBag || iid == IID_IPersistStreamInit || iid == IID_IPersist;
}

}  // namespace

STDMETHODIMP TraylumeControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!supported || !enabled) return E_POINTER;
  *supported = 0;
  *enabled = 0;
  if (IsInitialisation(iid)) {
    *supported = INTERFACESAFE_FOR_UNTRUSTED_DATA;
    *enabled = safeForUntrustedData_ ? INTERFACESAFE_FOR_UNTRUSTED_DATA : 0;
    return S_OK;
  }
  common::ComPtr<IUnknown> other;
  return SUCCEEDED(common::ComPtr<IUnknown>(Identity()).As(iid, &other)) ? S_OK : E_NOINTERFACE;
}

STDMETHODIMP TraylumeControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  const DWORD asked = mask & enabled;
  if (IsInitialisation(iid)) {
    if (asked & ~INTERFACESAFE_FOR_UNTRUSTED_DATA) return E_FAIL;
    if (mask & INTERFACESAFE_FOR_UNTRUSTED_DATA) safeForUntrustedData_ = (asked & INTERFACESAFE_FOR_UNTRUSTED_DATA) != 0;
    return S_OK;
  }
  common::ComPtr<IUnknown> other;
  if (FAILED(common::ComPtr<IUnknown>(Identity()).As(iid, &other))) return E_NOINTERFACE;
  return asked ? E_FAIL : S_OK;  // no other interface can be made safe
}

}  // namespace traylume

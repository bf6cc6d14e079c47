#include "component/property_bag.h"

#include <oleauto.h>

#include "common/variant.h"

namespace component {
namespace {

bool SameKey(LPCOLESTR name, const wchar_t* key) {
  return ::CompareStringOrdinal(name, -1, key, -1, TRUE) == CSTR_EQUAL;
}

void SetLong(VARIANT* value, long number) {
  V_VT(value) = VT_I4;
  V_I4(value) = number;
}

}  // namespace

HRESULT PropertyBag::Lookup(LPCOLESTR name, VARIANT* value) const {
  if (SameKey(name, L"_extentx")) {
    SetLong(value, state_.extentX);
    return S_OK;
  }
  if (SameKey(name, L"_extenty")) {
    SetLong(value, state_.extentY);
    return S_OK;
  }
  if (SameKey(name, L"icon")) {
    if (!state_.icon) return E_INVALIDARG;
    V_VT(value) = VT_DISPATCH;
    V_DISPATCH(value) = common::ComPtr<IPictureDisp>(state_.icon).release();
    return S_OK;
  }
  if (SameKey(name, L"tooltiptext")) {
    BSTR text = ::SysAllocStringLen(state_.toolTipText.data(), static_cast<UINT>(state_.toolTipText.size()));
    if (!text) return E_OUTOFMEMORY;
    V_VT(value) = VT_BSTR;
    V_BSTR(value) = text;
    return S_OK;
  }
  return E_INVALIDARG;
}

STDMETHODIMP PropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  const VARTYPE wanted = V_VT(value);
  common::UniqueVariant found;
  const HRESULT hr = Lookup(name, found.get());
  if (FAILED(hr)) return hr;
  if (wanted == VT_EMPTY || wanted == found.type()) {
    // `value` holds only the type asked for, nothing to clear.
    *value = found.release();
    return S_OK;
  }
  common::UniqueVariant converted;
  const HRESULT changed = ::VariantChangeType(converted.get(), found.get(), 0, wanted);
  if (FAILED(changed)) return changed;
  *value = converted.release();
  return S_OK;
}

STDMETHODIMP PropertyBag::Write(LPCOLESTR, VARIANT*) { return E_NOTIMPL; }

}  // namespace component

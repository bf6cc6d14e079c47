#include "common/dispatch_args.h"

#include "common/variant.h"

namespace common {

const VARIANT* PositionalArgument(const DISPPARAMS* params, UINT index) {
  if (!params || !params->rgvarg) return nullptr;
  const UINT positional = params->cArgs - params->cNamedArgs;
  if (params->cNamedArgs > params->cArgs || index >= positional) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - index];
}

const VARIANT* PropertyPutValue(const DISPPARAMS* params) {
  if (!params || !params->rgvarg || params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
      params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
    return nullptr;
  }
  return &params->rgvarg[0];
}

HRESULT CoerceArgument(const VARIANT& source, VARTYPE type, VARIANT* out) {
  // A reference to nothing would be read through by VariantCopyInd.
  if ((V_VT(&source) & VT_BYREF) && !V_BYREF(&source)) return DISP_E_TYPEMISMATCH;
  UniqueVariant direct;
  HRESULT hr = ::VariantCopyInd(direct.get(), const_cast<VARIANT*>(&source));
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  if (type == VT_BSTR && direct.type() == VT_BSTR && V_BSTR(direct.get()) == nullptr) {
    V_BSTR(direct.get()) = ::SysAllocString(L"");
  }
  ::VariantInit(out);
  hr = ::VariantChangeType(out, direct.get(), 0, type);
  if (hr == DISP_E_OVERFLOW) return hr;
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  return S_OK;
}

}  // namespace common

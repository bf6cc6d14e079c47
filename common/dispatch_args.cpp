#include "common/dispatch_args.h"

#include "common/foreign_variant.h"

namespace common {

HRESULT CheckParams(const DISPPARAMS* params) {
  if (!params) return S_OK;
  if (params->cNamedArgs > params->cArgs) return E_INVALIDARG;
  if (params->cArgs && !params->rgvarg) return E_INVALIDARG;
  if (params->cNamedArgs && !params->rgdispidNamedArgs) return E_INVALIDARG;
  return S_OK;
}

const VARIANT* PositionalArgument(const DISPPARAMS& params, UINT index) {
  if (!params.rgvarg || params.cNamedArgs > params.cArgs) return nullptr;
  const UINT positional = params.cArgs - params.cNamedArgs;
  if (index >= positional) return nullptr;
  return &params.rgvarg[params.cArgs - 1 - index];
}

HRESULT PropertyPutArgument(const DISPPARAMS& params, const VARIANT** value, UINT* argError) {
  *value = nullptr;
  for (UINT i = 0; i < params.cNamedArgs; ++i) {
    if (params.rgdispidNamedArgs[i] != DISPID_PROPERTYPUT) return ArgumentError(DISP_E_PARAMNOTFOUND, i, argError);
  }
  if (params.cArgs == 0) return DISP_E_PARAMNOTOPTIONAL;
  if (params.cArgs > 1) return DISP_E_BADPARAMCOUNT;
  if (IsMissing(params.rgvarg[0])) return ArgumentError(DISP_E_PARAMNOTOPTIONAL, 0, argError);
  *value = &params.rgvarg[0];
  return S_OK;
}

}  // namespace common

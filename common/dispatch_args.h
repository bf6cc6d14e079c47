#pragma once
// Reading the arguments of IDispatch::Invoke, for every dispatch table and
// event sink of ours. rgvarg holds the arguments last first, named ones
// (DISPID_PROPERTYPUT) before the positional ones.

#include <windows.h>
#include <oleauto.h>

namespace common {

// The positional argument `index` (0 = the first one declared), or nullptr.
const VARIANT* PositionalArgument(const DISPPARAMS* params, UINT index);

// The value of a property put: the one named DISPID_PROPERTYPUT argument.
const VARIANT* PropertyPutValue(const DISPPARAMS* params);

// Copies `source`, by value or by reference, into `out` converted to `type`
// as an automation client expects (VariantChangeType; a NULL BSTR is the
// empty string). Fails with DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW.
HRESULT CoerceArgument(const VARIANT& source, VARTYPE type, VARIANT* out);

}  // namespace common

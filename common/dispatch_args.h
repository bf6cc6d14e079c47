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

// GetIDsOfNames over a table whose rows have `name` and `id`: the first
// name is the member, matched without regard to case; the members take no
// named parameters, so any further name is unknown.
template <typename Rows>
HRESULT IdsOfNames(const Rows& rows, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    if (i == 0 && names[0]) {
      for (const auto& row : rows) {
        if (::CompareStringOrdinal(names[0], -1, row.name, -1, TRUE) == CSTR_EQUAL) ids[0] = row.id;
      }
    }
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

// Copies `source`, by value or by reference, into `out` converted to `type`
// as an automation client expects (VariantChangeType; a NULL BSTR is the
// empty string). Fails with DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW.
HRESULT CoerceArgument(const VARIANT& source, VARTYPE type, VARIANT* out);

}  // namespace common

#pragma once
// Reading the arguments of IDispatch::Invoke, for every dispatch table and
// event sink of ours. rgvarg holds the arguments last first, named ones
// (DISPID_PROPERTYPUT) before the positional ones. Values are read with
// the readers of common/foreign_variant.h.

#include <windows.h>
#include <oleauto.h>

namespace common {

// E_INVALIDARG unless `params` is shaped as a DISPPARAMS must be (null
// means no arguments).
HRESULT CheckParams(const DISPPARAMS* params);

// The positional argument `index` (0 = the first one declared), or nullptr.
const VARIANT* PositionalArgument(const DISPPARAMS& params, UINT index);

// The value of a property put: its one argument, named DISPID_PROPERTYPUT
// (or positional). DISP_E_PARAMNOTOPTIONAL without one (or when it is
// marked missing), DISP_E_BADPARAMCOUNT with more, DISP_E_PARAMNOTFOUND for
// another name.
HRESULT PropertyPutArgument(const DISPPARAMS& params, const VARIANT** value, UINT* argError);

// `hr` for the argument at `index` of rgvarg, told through puArgErr when
// the caller gave one.
inline HRESULT ArgumentError(HRESULT hr, UINT index, UINT* argError) {
  if (argError) *argError = index;
  return hr;
}

// IDispatch::GetTypeInfoCount and GetTypeInfo of an object that offers no
// type information (an event sink, a client site's ambient properties).
inline HRESULT NoTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
inline HRESULT NoTypeInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

// GetIDsOfNames over a table whose rows have `name` and `id`: the first
// name is the member, matched without regard to case; the members take no
// named parameters, so any further name is unknown.
template <typename Rows>
HRESULT IdsOfNames(const Rows& rows, REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  if (count == 0) return E_INVALIDARG;
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

}  // namespace common

#include "common/foreign_variant.h"

#include <oleauto.h>

#include "common/hresult.h"

namespace common {
namespace {

// Deeper chains than this are not made by any real caller: refused rather
// than followed, so that a loop of references cannot hang us.
constexpr int kMaxReferenceDepth = 16;

bool IsKnownBaseType(VARTYPE base) {
  switch (base) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_VARIANT: case VT_UNKNOWN:
    case VT_DECIMAL: case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT:
    case VT_UINT: case VT_RECORD:
      return true;
    default:
      return false;
  }
}

// The variant at the end of `source`'s VT_VARIANT | VT_BYREF links, checked
// to be a type that exists and, when it is a reference, to refer to something.
HRESULT Follow(const VARIANT& source, const VARIANT** target) {
  const VARIANT* at = &source;
  for (int depth = 0; V_VT(at) == (VT_VARIANT | VT_BYREF); ++depth) {
    if (depth == kMaxReferenceDepth || !V_VARIANTREF(at)) return DISP_E_TYPEMISMATCH;
    at = V_VARIANTREF(at);
  }
  const VARTYPE type = V_VT(at);
  const VARTYPE base = type & VT_TYPEMASK;
  if ((type & ~(VT_TYPEMASK | VT_BYREF | VT_ARRAY)) != 0 || !IsKnownBaseType(base)) return DISP_E_BADVARTYPE;
  if ((type & VT_BYREF) && (base == VT_EMPTY || base == VT_NULL)) return DISP_E_BADVARTYPE;
  if (base == VT_VARIANT && !(type & VT_ARRAY)) return DISP_E_BADVARTYPE;  // only as a link or an array
  if ((type & VT_BYREF) && !V_BYREF(at)) return DISP_E_TYPEMISMATCH;
  *target = at;
  return S_OK;
}

bool IsScalar(VARTYPE type) {
  const VARTYPE base = type & VT_TYPEMASK;
  return !(type & VT_ARRAY) && base != VT_DISPATCH && base != VT_UNKNOWN && base != VT_RECORD;
}

}  // namespace

HRESULT ReadScalar(const VARIANT& source, VARTYPE type, UniqueVariant* value) {
  value->reset();
  const VARIANT* at = nullptr;
  HRESULT hr = Follow(source, &at);
  if (FAILED(hr)) return hr;
  if (!IsScalar(V_VT(at))) return DISP_E_TYPEMISMATCH;
  // A scalar by value, or by a reference that was checked above.
  UniqueVariant direct;
  hr = ::VariantCopyInd(direct.get(), const_cast<VARIANT*>(at));
  if (hr == E_OUTOFMEMORY) RETURN_HR(hr);
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  if (direct.type() == VT_BSTR && !V_BSTR(direct.get())) {
    V_BSTR(direct.get()) = ::SysAllocString(L"");
    if (!V_BSTR(direct.get())) RETURN_HR(E_OUTOFMEMORY);
  }
  UniqueVariant converted;
  hr = ::VariantChangeType(converted.get(), direct.get(), 0, type);
  if (hr == DISP_E_OVERFLOW || hr == E_OUTOFMEMORY) return hr;
  if (FAILED(hr) || converted.type() != type) return DISP_E_TYPEMISMATCH;
  *value = std::move(converted);
  return S_OK;
}

HRESULT ReadObject(const VARIANT& source, ComPtr<IUnknown>* object) {
  object->reset();
  const VARIANT* at = nullptr;
  const HRESULT hr = Follow(source, &at);
  if (FAILED(hr)) return hr;
  switch (V_VT(at)) {
    case VT_EMPTY:
      return S_OK;
    case VT_DISPATCH:
      *object = ComPtr<IUnknown>(V_DISPATCH(at));
      return S_OK;
    case VT_DISPATCH | VT_BYREF:
      *object = ComPtr<IUnknown>(*V_DISPATCHREF(at));
      return S_OK;
    case VT_UNKNOWN:
      *object = ComPtr<IUnknown>(V_UNKNOWN(at));
      return S_OK;
    case VT_UNKNOWN | VT_BYREF:
      *object = ComPtr<IUnknown>(*V_UNKNOWNREF(at));
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

bool IsMissing(const VARIANT& source) {
  const VARIANT* at = nullptr;
  if (FAILED(Follow(source, &at))) return false;
  if (V_VT(at) == VT_ERROR) return V_ERROR(at) == DISP_E_PARAMNOTFOUND;
  if (V_VT(at) == (VT_ERROR | VT_BYREF)) return *V_ERRORREF(at) == DISP_E_PARAMNOTFOUND;
  return false;
}

}  // namespace common

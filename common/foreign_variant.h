#pragma once
// The one way to read a VARIANT that comes from outside: an argument of
// IDispatch::Invoke, a value a property bag answers, an event's argument.
// Such a value may be a chain of references, a reference to nothing, an
// object where a number is wanted, or a type that does not exist. Every
// reader here follows references to any sane depth, refuses what it cannot
// use with DISP_E_TYPEMISMATCH or DISP_E_BADVARTYPE, and never calls into a
// foreign object to convert it (no default member is ever read).

#include <windows.h>
#include <oaidl.h>

#include "common/com_ptr.h"
#include "common/variant.h"

namespace common {

// A scalar converted to `type` (VT_BOOL, VT_I2, VT_I4, VT_BSTR...) with
// VariantChangeType. Objects, arrays and records are refused; a NULL BSTR
// is the empty string. Fails with DISP_E_TYPEMISMATCH, DISP_E_BADVARTYPE,
// DISP_E_OVERFLOW or E_OUTOFMEMORY, leaving `value` empty.
HRESULT ReadScalar(const VARIANT& source, VARTYPE type, UniqueVariant* value);

// An object reference (VT_DISPATCH or VT_UNKNOWN). Nothing (a null object,
// or VT_EMPTY) gives a null `object` and S_OK; anything else is refused.
HRESULT ReadObject(const VARIANT& source, ComPtr<IUnknown>* object);

// An optional argument that was left out: VT_ERROR with DISP_E_PARAMNOTFOUND.
bool IsMissing(const VARIANT& source);

}  // namespace common

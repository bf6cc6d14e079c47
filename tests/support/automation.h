#pragma once
// An automation client's view of an object: IDispatch::Invoke by dispatch
// id, and what came back (HRESULT, value, EXCEPINFO, puArgErr).

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

#include "common/variant.h"

namespace support {

struct Outcome {
  HRESULT hr = E_FAIL;
  common::UniqueVariant value;
  HRESULT scode = S_OK;      // EXCEPINFO::scode
  std::wstring description;  // EXCEPINFO::bstrDescription
  UINT argError = 0xFFFFFFFF;
};

// The raw call: `arguments` in declaration order; `named` names the last
// argument (DISPID_PROPERTYPUT, as clients do for puts).
Outcome Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments = {},
               std::optional<DISPID> named = std::nullopt);

Outcome Get(IDispatch* object, DISPID id);
Outcome Put(IDispatch* object, DISPID id, const VARIANT& value, WORD flags = DISPATCH_PROPERTYPUT);
Outcome Call(IDispatch* object, DISPID id);

// Values to pass; they borrow, the caller keeps strings and objects alive.
VARIANT Bool(bool on);
VARIANT I4(long value);
VARIANT Text(BSTR text);
VARIANT Object(IUnknown* object);

// A value as the recording proxy writes it: "VT_BOOL -1", "VT_I4 3",
// "VT_BSTR text", "VT_DISPATCH", "VT_I2|VT_BYREF 1".
std::wstring Describe(const VARIANT& value);

// Property `id` of `object` described, or "failed" and the HRESULT.
std::wstring Shown(IDispatch* object, DISPID id);

}  // namespace support

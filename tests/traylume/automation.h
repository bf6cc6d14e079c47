#pragma once
// An automation client's view of the control: IDispatch::Invoke by
// dispatch id, with what came back (HRESULT, value, EXCEPINFO, bad argument).

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

#include "common/variant.h"

namespace traylume_tests {

struct Outcome {
  HRESULT hr = E_FAIL;
  common::UniqueVariant value;
  HRESULT scode = S_OK;      // EXCEPINFO::scode when hr is DISP_E_EXCEPTION
  std::wstring source;       // EXCEPINFO::bstrSource
  std::wstring description;  // EXCEPINFO::bstrDescription
  UINT argError = 0xFFFFFFFF;
};

// The raw call: `arguments` in declaration order; `named` names the last
// argument (DISPID_PROPERTYPUT, as clients do for puts).
Outcome InvokeRaw(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments,
                  std::optional<DISPID> named = std::nullopt);

Outcome Get(IDispatch* object, DISPID id);
Outcome Put(IDispatch* object, DISPID id, const VARIANT& value);     // DISPATCH_PROPERTYPUT
Outcome PutRef(IDispatch* object, DISPID id, const VARIANT& value);  // DISPATCH_PROPERTYPUTREF
Outcome Call(IDispatch* object, DISPID id);                          // DISPATCH_METHOD

// Values to pass (they borrow: the caller keeps the strings and objects alive).
VARIANT Bool(bool on);
VARIANT I2(short value);
VARIANT I4(long value);
VARIANT R8(double value);
VARIANT Text(BSTR text);
VARIANT Object(IDispatch* object);
VARIANT Unknown(IUnknown* object);

// A property as the fake's log writes values ("VT_BOOL -1", "VT_I4 3",
// "VT_BSTR text"), or "failed 0x..." when the get fails.
std::wstring Shown(IDispatch* object, DISPID id);
// A text property, or "<none>" when it is no text.
std::wstring GetText(IDispatch* object, DISPID id);
// Lets a text property; the test fails when the control refuses it.
void SetText(IDispatch* object, DISPID id, const std::wstring& text);

}  // namespace traylume_tests

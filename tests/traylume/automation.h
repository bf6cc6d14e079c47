#pragma once
// An automation client's view of the control: IDispatch::Invoke by
// dispatch id, with what came back (HRESULT, value, EXCEPINFO, bad argument).

#include <windows.h>
#include <oaidl.h>

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

// The raw call: `arguments` in declaration order; `namedPut` adds the
// named DISPID_PROPERTYPUT for the last argument, as clients do for puts.
Outcome InvokeRaw(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments, bool namedPut);

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

// Reads a property and returns it as the type the tests expect.
bool GetBool(IDispatch* object, DISPID id);
std::wstring GetText(IDispatch* object, DISPID id);
long GetLong(IDispatch* object, DISPID id);

}  // namespace traylume_tests

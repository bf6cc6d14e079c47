#pragma once
// An automation client's view of an object: IDispatch::Invoke by dispatch
// id, and what came back (HRESULT, value, EXCEPINFO, puArgErr).

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

#include "common/com_object.h"
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

inline Outcome Get(IDispatch* object, DISPID id) { return Invoke(object, id, DISPATCH_PROPERTYGET); }
inline Outcome Call(IDispatch* object, DISPID id) { return Invoke(object, id, DISPATCH_METHOD); }
inline Outcome Put(IDispatch* object, DISPID id, const VARIANT& value, WORD flags = DISPATCH_PROPERTYPUT) {
  return Invoke(object, id, flags, {value}, DISPID_PROPERTYPUT);
}

// Values to pass; they borrow, the caller keeps strings and objects alive.
inline VARIANT Value(VARTYPE type) {
  VARIANT v;
  V_VT(&v) = type;
  return v;
}
inline VARIANT Bool(bool on) {
  VARIANT v = Value(VT_BOOL);
  V_BOOL(&v) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
inline VARIANT I4(long value) {
  VARIANT v = Value(VT_I4);
  V_I4(&v) = value;
  return v;
}
inline VARIANT Text(BSTR text) {
  VARIANT v = Value(VT_BSTR);
  V_BSTR(&v) = text;
  return v;
}
inline VARIANT Object(IUnknown* object) {
  VARIANT v = Value(VT_UNKNOWN);
  V_UNKNOWN(&v) = object;
  return v;
}

// An object whose default member must never be read: it counts each read.
struct Bystander final : common::ComObject<IDispatch> {
  static inline int invoked = 0;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
    ++invoked;
    if (result) *result = I4(42);
    return S_OK;
  }
};

// A value as the recording proxy writes it: "VT_BOOL -1", "VT_I2|VT_BYREF 1".
std::wstring Describe(const VARIANT& value);

// Property `id` of `object` described, or "failed" and the HRESULT.
std::wstring Shown(IDispatch* object, DISPID id);

}  // namespace support

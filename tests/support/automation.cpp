#include "tests/support/automation.h"

#include <cstdio>

#include "common/bstr.h"
#include "common/excep_info.h"

namespace support {

Outcome Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments,
               std::optional<DISPID> named) {
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());  // rgvarg is last first
  DISPID namedId = named.value_or(0);
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), named ? &namedId : nullptr,
                    static_cast<UINT>(reversed.size()), named ? 1u : 0u};
  Outcome outcome;
  common::UniqueExcepInfo info;
  outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, outcome.value.put(), info.get(),
                              &outcome.argError);
  info.Complete();
  outcome.scode = info->scode;
  outcome.description = info.description();
  return outcome;
}

Outcome Get(IDispatch* object, DISPID id) { return Invoke(object, id, DISPATCH_PROPERTYGET); }

Outcome Put(IDispatch* object, DISPID id, const VARIANT& value, WORD flags) {
  return Invoke(object, id, flags, {value}, DISPID_PROPERTYPUT);
}

Outcome Call(IDispatch* object, DISPID id) { return Invoke(object, id, DISPATCH_METHOD); }

VARIANT Bool(bool on) {
  VARIANT v;
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT I4(long value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT Text(BSTR text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}

VARIANT Object(IUnknown* object) {
  VARIANT v;
  V_VT(&v) = VT_UNKNOWN;
  V_UNKNOWN(&v) = object;
  return v;
}

std::wstring Describe(const VARIANT& value) {
  const VARTYPE type = V_VT(&value);
  const bool byRef = (type & VT_BYREF) != 0;
  wchar_t number[32];
  switch (type & ~VT_BYREF) {
    case VT_BOOL:
      std::swprintf(number, 32, L"%d", byRef ? *V_BOOLREF(&value) : V_BOOL(&value));
      return std::wstring(byRef ? L"VT_BOOL|VT_BYREF " : L"VT_BOOL ") + number;
    case VT_I2:
      std::swprintf(number, 32, L"%d", byRef ? *V_I2REF(&value) : V_I2(&value));
      return std::wstring(byRef ? L"VT_I2|VT_BYREF " : L"VT_I2 ") + number;
    case VT_I4:
      std::swprintf(number, 32, L"%ld", static_cast<long>(byRef ? *V_I4REF(&value) : V_I4(&value)));
      return std::wstring(byRef ? L"VT_I4|VT_BYREF " : L"VT_I4 ") + number;
    case VT_BSTR: {
      const BSTR text = byRef ? *V_BSTRREF(&value) : V_BSTR(&value);
      return std::wstring(byRef ? L"VT_BSTR|VT_BYREF " : L"VT_BSTR ") +
             (text ? std::wstring(text, ::SysStringLen(text)) : L"");
    }
    case VT_DISPATCH:
      return byRef ? L"VT_DISPATCH|VT_BYREF" : L"VT_DISPATCH";
    case VT_UNKNOWN:
      return L"VT_UNKNOWN";
    case VT_EMPTY:
      return L"VT_EMPTY";
    default:
      std::swprintf(number, 32, L"VT 0x%04X", type);
      return number;
  }
}

std::wstring Shown(IDispatch* object, DISPID id) {
  const Outcome got = Get(object, id);
  if (FAILED(got.hr)) {
    wchar_t text[32];
    std::swprintf(text, 32, L"failed 0x%08lX", static_cast<unsigned long>(got.hr));
    return text;
  }
  return Describe(*got.value.get());
}

}  // namespace support

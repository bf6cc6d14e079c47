#include "tests/traylume/automation.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "common/bstr.h"
#include "tests/support/fake_traylume.h"

namespace traylume_tests {

Outcome InvokeRaw(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments,
                  std::optional<DISPID> named) {
  Outcome outcome;
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPID namedId = named.value_or(DISPID_UNKNOWN);
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), named ? &namedId : nullptr,
                    static_cast<UINT>(reversed.size()), named ? 1u : 0u};
  EXCEPINFO exception{};
  outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, outcome.value.put(), &exception,
                              &outcome.argError);
  if (outcome.hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    outcome.scode = exception.scode;
    if (exception.bstrSource) outcome.source = exception.bstrSource;
    if (exception.bstrDescription) outcome.description = exception.bstrDescription;
  }
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
  return outcome;
}

Outcome Get(IDispatch* object, DISPID id) { return InvokeRaw(object, id, DISPATCH_PROPERTYGET, {}); }
Outcome Put(IDispatch* object, DISPID id, const VARIANT& value) {
  return InvokeRaw(object, id, DISPATCH_PROPERTYPUT, {value}, DISPID_PROPERTYPUT);
}
Outcome PutRef(IDispatch* object, DISPID id, const VARIANT& value) {
  return InvokeRaw(object, id, DISPATCH_PROPERTYPUTREF, {value}, DISPID_PROPERTYPUT);
}
Outcome Call(IDispatch* object, DISPID id) { return InvokeRaw(object, id, DISPATCH_METHOD, {}); }

namespace {

template <typename Fill>
VARIANT Value(VARTYPE type, Fill fill) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = type;
  fill(v);
  return v;
}

}  // namespace

VARIANT Bool(bool on) { return Value(VT_BOOL, [&](VARIANT& v) { V_BOOL(&v) = on ? VARIANT_TRUE : VARIANT_FALSE; }); }
VARIANT I2(short value) { return Value(VT_I2, [&](VARIANT& v) { V_I2(&v) = value; }); }
VARIANT I4(long value) { return Value(VT_I4, [&](VARIANT& v) { V_I4(&v) = value; }); }
VARIANT R8(double value) { return Value(VT_R8, [&](VARIANT& v) { V_R8(&v) = value; }); }
VARIANT Text(BSTR text) { return Value(VT_BSTR, [&](VARIANT& v) { V_BSTR(&v) = text; }); }
VARIANT Object(IDispatch* object) { return Value(VT_DISPATCH, [&](VARIANT& v) { V_DISPATCH(&v) = object; }); }
VARIANT Unknown(IUnknown* object) { return Value(VT_UNKNOWN, [&](VARIANT& v) { V_UNKNOWN(&v) = object; }); }

std::wstring Shown(IDispatch* object, DISPID id) {
  Outcome outcome = Get(object, id);
  if (FAILED(outcome.hr)) {
    wchar_t text[32];
    std::swprintf(text, 32, L"failed 0x%08lX", static_cast<unsigned long>(outcome.hr));
    return text;
  }
  return fakes::Describe(*outcome.value.get());
}

std::wstring GetText(IDispatch* object, DISPID id) {
  Outcome outcome = Get(object, id);
  if (FAILED(outcome.hr) || outcome.value.type() != VT_BSTR) return L"<none>";
  const BSTR text = V_BSTR(outcome.value.get());
  return std::wstring(text ? text : L"", ::SysStringLen(text));
}

void SetText(IDispatch* object, DISPID id, const std::wstring& text) {
  common::UniqueBstr value(text);
  EXPECT_EQ(Put(object, id, Text(value.get())).hr, S_OK) << "let of dispatch id " << std::hex << id;
}

}  // namespace traylume_tests

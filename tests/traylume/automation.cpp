#include "tests/traylume/automation.h"

namespace traylume_tests {

Outcome InvokeRaw(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments, bool namedPut) {
  Outcome outcome;
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (namedPut) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
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

Outcome Get(IDispatch* object, DISPID id) { return InvokeRaw(object, id, DISPATCH_PROPERTYGET, {}, false); }

Outcome Put(IDispatch* object, DISPID id, const VARIANT& value) {
  return InvokeRaw(object, id, DISPATCH_PROPERTYPUT, {value}, true);
}

Outcome PutRef(IDispatch* object, DISPID id, const VARIANT& value) {
  return InvokeRaw(object, id, DISPATCH_PROPERTYPUTREF, {value}, true);
}

Outcome Call(IDispatch* object, DISPID id) { return InvokeRaw(object, id, DISPATCH_METHOD, {}, false); }

VARIANT Bool(bool on) {
  VARIANT v;
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT I2(short value) {
  VARIANT v;
  V_VT(&v) = VT_I2;
  V_I2(&v) = value;
  return v;
}

VARIANT I4(long value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT R8(double value) {
  VARIANT v;
  V_VT(&v) = VT_R8;
  V_R8(&v) = value;
  return v;
}

VARIANT Text(BSTR text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}

VARIANT Object(IDispatch* object) {
  VARIANT v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  return v;
}

VARIANT Unknown(IUnknown* object) {
  VARIANT v;
  V_VT(&v) = VT_UNKNOWN;
  V_UNKNOWN(&v) = object;
  return v;
}

bool GetBool(IDispatch* object, DISPID id) {
  Outcome outcome = Get(object, id);
  return SUCCEEDED(outcome.hr) && outcome.value.type() == VT_BOOL && V_BOOL(outcome.value.get()) == VARIANT_TRUE;
}

std::wstring GetText(IDispatch* object, DISPID id) {
  Outcome outcome = Get(object, id);
  if (FAILED(outcome.hr) || outcome.value.type() != VT_BSTR || !V_BSTR(outcome.value.get())) return L"<none>";
  return std::wstring(V_BSTR(outcome.value.get()), ::SysStringLen(V_BSTR(outcome.value.get())));
}

long GetLong(IDispatch* object, DISPID id) {
  Outcome outcome = Get(object, id);
  if (FAILED(outcome.hr) || outcome.value.type() != VT_I4) return -9999;
  return V_I4(outcome.value.get());
}

}  // namespace traylume_tests

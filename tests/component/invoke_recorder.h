#pragma once
// An IDispatch that records the raw shape of the last Invoke (flags,
// argument counts, the named argument, the value's type) and answers a get
// with a value the test chooses: for checks finer than the fake's log.

#include <windows.h>
#include <oaidl.h>

#include "common/com_object.h"
#include "common/variant.h"

namespace binding_tests {

class InvokeRecorder : public common::ComObject<IDispatch> {
 public:
  DISPID id = DISPID_UNKNOWN;
  WORD flags = 0;
  UINT argumentCount = 0;
  UINT namedCount = 0;
  DISPID namedId = DISPID_UNKNOWN;
  common::UniqueVariant argument;  // a copy of the one argument, as passed
  bool wantedResult = false;        // pVarResult was given
  bool gaveExcepInfo = false;       // pExcepInfo was given
  common::UniqueVariant answer;     // copied into pVarResult

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return DISP_E_BADINDEX; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD how, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT*) override {
    id = member;
    flags = how;
    argumentCount = params ? params->cArgs : 0;
    namedCount = params ? params->cNamedArgs : 0;
    namedId = namedCount > 0 && params->rgdispidNamedArgs ? params->rgdispidNamedArgs[0] : DISPID_UNKNOWN;
    argument.reset();
    if (argumentCount > 0 && params->rgvarg) ::VariantCopy(argument.get(), &params->rgvarg[0]);
    wantedResult = result != nullptr;
    gaveExcepInfo = exception != nullptr;
    if (result) {
      ::VariantInit(result);
      ::VariantCopy(result, answer.get());
    }
    return S_OK;
  }
};

}  // namespace binding_tests

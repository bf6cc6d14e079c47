#include "tests/support/recording_proxy.h"

#include <oleauto.h>

#include "common/bstr.h"
#include "tests/support/automation.h"

namespace support {

RecordingProxy::RecordingProxy(common::ComPtr<IDispatch> control) : control_(std::move(control)) {
  control_.As(&ole_);
  control_.As(&bag_);
  control_->GetTypeInfo(0, LOCALE_USER_DEFAULT, typeInfo_.put());
}

// Member names come from the control's own type information.
std::wstring RecordingProxy::NameOf(DISPID id) const {
  common::UniqueBstr name;
  UINT found = 0;
  if (typeInfo_ && SUCCEEDED(typeInfo_->GetNames(id, name.put(), 1, &found)) && found == 1) return name.str();
  return L"#" + std::to_wstring(id);
}

HRESULT RecordingProxy::PlannedFailure(const std::wstring& member, EXCEPINFO* exception) const {
  const auto failure = failures_.find(member);
  if (failure == failures_.end()) return S_OK;
  if (failure->second.description.empty()) return failure->second.hr;
  if (exception) *exception = {0, 0, nullptr, ::SysAllocString(failure->second.description.c_str()), nullptr, 0, nullptr, nullptr, failure->second.hr};
  return DISP_E_EXCEPTION;
}

STDMETHODIMP RecordingProxy::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  const std::wstring name = NameOf(id);
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const UINT count = params ? params->cArgs : 0;
  std::wstring line = (flags & DISPATCH_PROPERTYPUTREF) ? L"putref " : put ? L"let " : (flags & DISPATCH_PROPERTYGET) ? L"get " : L"call ";
  line += name;
  if (put && count >= 1 && params->rgvarg) {
    const bool named = params->cNamedArgs == 1 && params->rgdispidNamedArgs && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    line += L" " + Describe(params->rgvarg[0]) + (named ? L"" : L" (unnamed)");
  }
  if (count != (put ? 1u : 0u)) line += L" (" + std::to_wstring(count) + L" arguments)";
  calls.push_back(line);

  const HRESULT planned = PlannedFailure(name, exception);
  if (FAILED(planned)) return planned;
  const auto answer = answers_.find(name);
  if (put || answer == answers_.end()) return control_->Invoke(id, iid, locale, flags, params, result, exception, argError);
  return result ? ::VariantCopy(result, answer->second.get()) : S_OK;
}

void* RecordingProxy::QueryExtra(REFIID iid) {
  common::ComPtr<IUnknown> theirs;
  if (FAILED(control_.As(iid, &theirs))) return nullptr;
  return theirs.get();  // the control lives as long as the proxy; the caller adds the reference
}

}  // namespace support

#include "component/failure.h"

#include <utility>

#include "common/bstr.h"
#include "common/com_ptr.h"
#include "common/hresult.h"

namespace traylume::detail {
namespace {

// Reads and consumes the thread's error information.
std::wstring TakeErrorInfoText() {
  common::ComPtr<IErrorInfo> info;
  if (::GetErrorInfo(0, info.put()) != S_OK || !info) return {};
  common::UniqueBstr text;
  if (FAILED(info->GetDescription(text.put()))) return {};
  return text.str();
}

}  // namespace

void ForgetErrorInfo() { ::SetErrorInfo(0, nullptr); }

ComResult Failure(HRESULT hr, std::wstring operation) {
  std::wstring text = TakeErrorInfoText();
  if (text.empty()) text = common::SystemMessage(hr);
  return ComResult::Failure(hr, std::move(operation), std::move(text));
}

void ClearExcepInfo(EXCEPINFO* info) {
  if (!info) return;
  ::SysFreeString(info->bstrSource);
  ::SysFreeString(info->bstrDescription);
  ::SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
}

ComResult InvokeFailure(HRESULT hr, std::wstring operation, EXCEPINFO* info) {
  std::wstring text;
  HRESULT code = S_OK;
  if (info) {
    // The object may leave the strings to be filled on demand.
    if (hr == DISP_E_EXCEPTION && info->pfnDeferredFillIn) {
      auto fill = std::exchange(info->pfnDeferredFillIn, nullptr);
      fill(info);
    }
    common::UniqueBstr description;
    description.reset(std::exchange(info->bstrDescription, nullptr));
    text = description.str();
    code = info->scode != S_OK ? info->scode
                               : (info->wCode != 0 ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, info->wCode) : S_OK);
    ClearExcepInfo(info);
  }
  const std::wstring errorInfo = TakeErrorInfoText();  // consumed in every case
  if (SUCCEEDED(hr)) return ComResult::Success();
  if (text.empty()) text = errorInfo;
  // DISP_E_EXCEPTION alone says only "exception occurred": the object's own
  // code says more.
  if (text.empty() && hr == DISP_E_EXCEPTION && FAILED(code)) text = common::SystemMessage(code);
  if (text.empty()) text = common::SystemMessage(hr);
  return ComResult::Failure(hr, std::move(operation), std::move(text));
}

}  // namespace traylume::detail

#include "component/failure.h"


#include "common/bstr.h"
#include "common/com_ptr.h"
#include "common/hresult.h"

namespace component::detail {
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

common::ComResult Failure(HRESULT hr, std::wstring operation) {
  std::wstring text = TakeErrorInfoText();
  if (text.empty()) text = common::SystemMessage(hr);
  return common::ComResult::Failure(hr, std::move(operation), std::move(text));
}

common::ComResult InvokeFailure(HRESULT hr, std::wstring operation, common::UniqueExcepInfo& info) {
  const std::wstring errorInfo = TakeErrorInfoText();  // consumed in every case
  if (SUCCEEDED(hr)) return common::ComResult::Success();
  std::wstring text;
  HRESULT code = S_OK;
  if (hr == DISP_E_EXCEPTION) {
    info.Complete();
    text = info.description();
    code = info.code();
  }
  if (text.empty()) text = errorInfo;
  // DISP_E_EXCEPTION alone says only "exception occurred": the object's own
  // code says more.
  if (text.empty() && FAILED(code)) text = common::SystemMessage(code);
  if (text.empty()) text = common::SystemMessage(hr);
  return common::ComResult::Failure(hr, std::move(operation), std::move(text));
}

}  // namespace component::detail

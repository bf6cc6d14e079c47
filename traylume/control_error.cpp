#include "traylume/control_error.h"

#include <oleauto.h>

#include "common/com_ptr.h"
#include "traylume/texts.h"

namespace traylume {
namespace {

void SetThreadErrorInfo(const ControlError& error, REFIID iid) {
  common::ComPtr<ICreateErrorInfo> create;
  if (FAILED(::CreateErrorInfo(create.put()))) return;
  create->SetGUID(iid);
  create->SetSource(const_cast<LPOLESTR>(texts::kSource));
  create->SetDescription(const_cast<LPOLESTR>(error.description ? error.description : L""));
  common::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.get());
}

}  // namespace

void FillExcepInfo(const ControlError& error, EXCEPINFO* info) {
  *info = EXCEPINFO{};
  info->scode = error.code;
  info->bstrSource = ::SysAllocString(texts::kSource);
  info->bstrDescription = ::SysAllocString(error.description ? error.description : L"");
}

HRESULT ReportException(const ControlError& error, EXCEPINFO* info) {
  SetThreadErrorInfo(error, IID_IDispatch);
  if (info) FillExcepInfo(error, info);
  return DISP_E_EXCEPTION;
}

HRESULT ReportError(const ControlError& error, REFIID iid) {
  SetThreadErrorInfo(error, iid);
  return error.code;
}

}  // namespace traylume

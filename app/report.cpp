#include "app/report.h"

#include "app/texts.h"
#include "common/hresult.h"

namespace app {

void SystemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

std::wstring FailureText(const common::ComResult& failure) {
  std::wstring reason = failure.description;
  if (reason.empty()) reason = common::SystemMessage(failure.hr);
  if (reason.empty()) reason = texts::kNoReason;

  std::wstring text = texts::kFailureHeading;
  text.append(L"\r\n\r\n").append(texts::kFailureOperation).append(failure.operation);
  text.append(L"\r\n").append(texts::kFailureReason).append(reason);
  text.append(L"\r\n").append(texts::kFailureCode).append(common::HresultCode(failure.hr));
  return text;
}

void ShowFailure(const MessageBoxFunction& messageBox, HWND owner, const common::ComResult& failure) {
  const std::wstring text = FailureText(failure);
  const UINT type = MB_OK | MB_ICONERROR;
  if (messageBox) {
    messageBox(owner, text, texts::kTitle, type);
  } else {
    SystemMessageBox(owner, text, texts::kTitle, type);
  }
}

}  // namespace app

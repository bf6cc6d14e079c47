#include "traylume/tray_window.h"

#include "common/hresult.h"
#include "common/module.h"

namespace traylume {

void UnregisterTrayWindowClass() { ::UnregisterClassW(kTrayWindowClass, common::ThisModule()); }

HRESULT TrayWindow::Create(TrayWindowListener* listener) {
  Destroy();
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  RETURN_IF_FAILED(CreateWindowOfClass(kTrayWindowClass, nullptr, 0, RECT{}, WS_POPUP, WS_EX_TOOLWINDOW));
  listener_ = listener;
  // A program running with higher rights than the shell would otherwise
  // never hear that the task bar came back.
  if (taskbarCreated_) ::ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  return S_OK;
}

void TrayWindow::Destroy() {
  listener_ = nullptr;
  const HWND window = hwnd();
  if (!window) return;
  if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
    ::DestroyWindow(window);
    return;
  }
  // The last reference went on another thread, which cannot destroy this
  // window: detached from this object (which is about to go), the window
  // closes itself on its own thread.
  Detach();
  ::PostMessageW(window, WM_CLOSE, 0, 0);
}

void TrayWindow::StartTimer(UINT_PTR timer, UINT milliseconds) {
  if (hwnd() && !::SetTimer(hwnd(), timer, milliseconds, nullptr)) LOG_IF_FAILED(common::LastErrorHr());
}

void TrayWindow::StopTimer(UINT_PTR timer) {
  if (hwnd()) ::KillTimer(hwnd(), timer);
}

LRESULT TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    // Version 0 callbacks: the icon id in wParam, the message in lParam.
    if (wParam == kIconId && listener_) listener_->OnNotifyIconMessage(LOWORD(lParam));
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    if (listener_) listener_->OnTaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (listener_) listener_->OnTimer(wParam);
      return 0;
    case WM_CLOSE:
      return 0;  // lives as long as its control, not until someone asks
    case WM_DESTROY:
      if (listener_) listener_->OnWindowDestroyed();
      listener_ = nullptr;
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace traylume

#include "traylume/tray_window.h"

#include "common/hresult.h"
#include "traylume/server_module.h"

namespace ocx {
namespace {

HRESULT RegisterTrayWindowClass(WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ThisModule();
  windowClass.lpszClassName = kTrayWindowClass;
  if (::RegisterClassExW(&windowClass)) return S_OK;
  if (::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return S_OK;
  return common::LastErrorHr();
}

}  // namespace

void UnregisterTrayWindowClass() { ::UnregisterClassW(kTrayWindowClass, ThisModule()); }

HRESULT TrayWindow::Create(TrayWindowListener* listener) {
  Destroy();
  RETURN_IF_FAILED(RegisterTrayWindowClass(&TrayWindow::WindowProc));
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, ThisModule(), this);
  if (!window) return common::LastErrorHr();
  window_.reset(window);
  listener_ = listener;
  // A program running with higher rights than the shell would otherwise
  // never hear that the task bar came back.
  if (taskbarCreated_) ::ChangeWindowMessageFilterEx(window, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  return S_OK;
}

void TrayWindow::Destroy() {
  listener_ = nullptr;
  window_.reset();
}

LRESULT CALLBACK TrayWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TrayWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    // Destroyed by someone else: the handle is no longer ours to destroy.
    if (self && self->window_.get() == window) self->window_.release();
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  if (self && self->OnMessage(message, wParam, lParam)) return 0;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool TrayWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    // Version 0 callbacks: the icon id in wParam, the message in lParam.
    if (wParam == kIconId && listener_) listener_->OnNotifyIconMessage(LOWORD(lParam));
    return true;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    if (listener_) listener_->OnTaskbarCreated();
    return true;
  }
  switch (message) {
    case WM_CLOSE:
      return true;  // lives as long as its control, not until someone asks
    case WM_DESTROY:
      if (listener_) listener_->OnWindowDestroyed();
      listener_ = nullptr;
      return true;
    default:
      return false;
  }
}

}  // namespace ocx

#pragma once
// The window-class pattern every window of ours follows, in the program and
// in the control alike: the object is handed over in CreateWindowEx's last
// argument, stored at WM_NCCREATE and forgotten at WM_NCDESTROY; each
// message goes to the object's HandleMessage, which sends it on to one
// member per message. Classes are registered for the module this code is
// linked into, so a DLL's windows belong to the DLL.

#include <windows.h>

#include <type_traits>
#include <utility>

#include "common/hresult.h"
#include "common/module.h"
#include "common/unique_handle.h"

namespace common {

template <typename T>
class WindowBase {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  ~WindowBase() = default;

  // Registers the class once per process, on the button-face background
  // every window of ours has; `fill` completes the WNDCLASSEXW.
  template <typename Fill>
  static HRESULT RegisterClassOnce(const wchar_t* name, Fill fill) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(ThisModule(), name, &existing)) return S_OK;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowBase::Procedure;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    fill(windowClass);
    if (::RegisterClassExW(&windowClass)) return S_OK;
    RETURN_LAST_ERROR_IF(::GetLastError() != ERROR_CLASS_ALREADY_EXISTS);
    return S_OK;
  }

  // Creates this object's window of class `className` (registered here
  // when it is not yet): a child of `parent` with `id`, or a top-level
  // window when `parent` is null. `place` is in pixels.
  HRESULT CreateWindowOfClass(const wchar_t* className, HWND parent, int id, const RECT& place, DWORD style,
                              DWORD exStyle) {
    RETURN_IF_FAILED(RegisterClassOnce(className, [](WNDCLASSEXW&) {}));
    HWND window = ::CreateWindowExW(exStyle, className, L"", style, place.left, place.top,
                                    place.right - place.left, place.bottom - place.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(),
                                    static_cast<T*>(this));
    RETURN_LAST_ERROR_IF(!window);
    return S_OK;
  }

  // Stops the window calling this object, which is going away, without
  // destroying the window.
  void Detach() {
    if (hwnd_) ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
  }

  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  // Windows that draw paint in T::Paint(HDC), for WM_PAINT and
  // WM_PRINTCLIENT alike; HandleMessage never sees those two. Windows
  // without a Paint (hidden ones) leave both to HandleMessage.
  template <typename U, typename = void>
  struct Paints : std::false_type {};
  template <typename U>
  struct Paints<U, std::void_t<decltype(std::declval<U&>().Paint(HDC{}))>> : std::true_type {};

  void OnPaint() {
    PaintScope paint(hwnd_);
    static_cast<T*>(this)->Paint(paint.get());
  }
  void OnPrintClient(HDC dc, LPARAM flags) {
    if (flags & PRF_ERASEBKGND) {
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    static_cast<T*>(this)->Paint(dc);
  }

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      if (self) {
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      }
    } else {
      self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if constexpr (Paints<T>::value) {
      if (message == WM_PAINT) {
        self->OnPaint();
        return 0;
      }
      if (message == WM_PRINTCLIENT) {
        self->OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        return 0;
      }
    }
    // `self` may be gone once HandleMessage returns (a handler may release
    // the object that owns the window), except at WM_NCDESTROY.
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace common

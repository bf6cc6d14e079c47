#pragma once
// The hidden top-level window that owns a control's notification icon and
// receives its callbacks. Top-level on purpose: only top-level windows hear
// the "TaskbarCreated" broadcast, and the shell drops an icon when its
// owner window goes.
//
// Tests (and tools) find it as a window of class kTrayWindowClass on the
// thread that created the control; tray callbacks are kCallbackMessage with
// wParam kIconId and the mouse or balloon message in lParam (notify icon
// version 0), as the shell sends them.

#include <windows.h>

#include "common/window_base.h"

namespace traylume {

constexpr const wchar_t kTrayWindowClass[] = L"TraylumeTrayWindow";
constexpr UINT kCallbackMessage = WM_APP + 1;
constexpr UINT kIconId = 1;

// The control's timers on its window: balloon changes settling, and adding
// the icon again while it waits for a task bar.
constexpr UINT_PTR kBalloonSettleTimer = 1;
constexpr UINT_PTR kTaskBarRetryTimer = 2;

class TrayWindowListener {
 public:
  // A callback from the shell: WM_MOUSEMOVE, WM_LBUTTONDOWN, NIN_BALLOONSHOW...
  virtual void OnNotifyIconMessage(UINT message) = 0;
  // The shell's task bar was (re)created: icons have to be added again.
  virtual void OnTaskbarCreated() = 0;
  // A timer started with StartTimer is due.
  virtual void OnTimer(UINT_PTR timer) = 0;
  // The window is being destroyed by someone other than its owner.
  virtual void OnWindowDestroyed() = 0;

 protected:
  ~TrayWindowListener() = default;
};

class TrayWindow : public common::WindowBase<TrayWindow> {
 public:
  TrayWindow() = default;
  ~TrayWindow() { Destroy(); }

  // Creates the window on the calling thread; callbacks go to `listener`.
  HRESULT Create(TrayWindowListener* listener);
  // Destroys the window; from another thread, which cannot, it asks the
  // window's own thread to, and the window no longer calls back.
  void Destroy();
  HWND get() const { return hwnd(); }
  // (Re)starts `timer` to come due once every `milliseconds`; stops it.
  void StartTimer(UINT_PTR timer, UINT milliseconds);
  void StopTimer(UINT_PTR timer);

 private:
  friend class common::WindowBase<TrayWindow>;
  // `this` may be gone when it returns: a listener may drop the last
  // reference to the control that owns this window.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  TrayWindowListener* listener_ = nullptr;
  UINT taskbarCreated_ = 0;
};

// For DllMain: forget the window class when the module unloads.
void UnregisterTrayWindowClass();

}  // namespace traylume

#pragma once
// A Wine virtual desktop of its own, with the task bar and notification
// area that explorer.exe draws in it, for tests of the real tray. The
// calling thread is attached to the desktop while the object lives, so that
// window searches and the screen device context see that desktop. The
// desktop window is an X window: the pointer is driven there with xdotool.

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace e2e {

// Pixels of a screen rectangle, rows top-down, as 0xRRGGBB.
struct ScreenArea {
  RECT rect{};
  std::vector<COLORREF> pixels;

  int Count(COLORREF colour) const;
  // The smallest rectangle holding every pixel of the colours; empty when none.
  RECT BoundsOf(std::initializer_list<COLORREF> colours) const;
};

class VirtualDesktop {
 public:
  VirtualDesktop() = default;
  VirtualDesktop(const VirtualDesktop&) = delete;
  VirtualDesktop& operator=(const VirtualDesktop&) = delete;
  // Detaches the thread, closes the desktop and waits for its explorer to
  // end (terminating it as a last resort).
  ~VirtualDesktop();

  // Starts the desktop `name` of `width` x `height` pixels and attaches the
  // calling thread to it (the thread must own no windows).
  HRESULT Open(const std::wstring& name, int width, int height);

  // The name to pass as STARTUPINFO::lpDesktop to start a program in it.
  const wchar_t* name() const { return name_.c_str(); }

  ScreenArea Capture(const RECT& rect) const;

  // Moves the X pointer to (x, y) of the desktop and clicks the left button
  // there. Returns once xdotool has been started; the click arrives soon
  // after (Wine cannot wait for a Unix process).
  HRESULT ClickAt(int x, int y) const;

 private:
  void Close();

  std::wstring name_;
  common::UniqueKernelHandle explorer_;
  HDESK desktop_ = nullptr;
  HDESK previous_ = nullptr;
};

}  // namespace e2e

#pragma once
// A Wine virtual desktop of its own, with the task bar and notification
// area that explorer.exe draws in it. The calling thread is attached to it
// while the object lives, so window searches and the screen see it.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace e2e {

class Desktop {
 public:
  Desktop() = default;
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;
  ~Desktop();  // detaches, and ends its explorer once no program is left

  // Starts desktop `name` of `width` x `height` and waits for its task bar.
  HRESULT Open(const std::wstring& name, int width, int height);
  const wchar_t* name() const { return name_.c_str(); }

  // How many pixels of `rect` have `colour` (0xBBGGRR), and the middle of them.
  int Count(const RECT& rect, COLORREF colour, POINT* middle = nullptr) const;

  // Moves the X pointer to (x, y) of the desktop and clicks the left button
  // (xdotool); the click arrives soon after this returns.
  HRESULT ClickAt(POINT point) const;

 private:
  std::wstring name_;
  common::UniqueKernelHandle explorer_;
  HDESK desktop_ = nullptr;
  HDESK previous_ = nullptr;
};

}  // namespace e2e

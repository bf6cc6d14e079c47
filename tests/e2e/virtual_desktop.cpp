#include "tests/e2e/virtual_desktop.h"

#include <algorithm>

#include "common/hresult.h"
#include "tests/e2e/window_driver.h"

namespace e2e {
namespace {

constexpr DWORD kStartMs = 15000;
constexpr DWORD kEndMs = 5000;
constexpr wchar_t kXdotool[] = L"/usr/bin/xdotool";

}  // namespace

int ScreenArea::Count(COLORREF colour) const {
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

RECT ScreenArea::BoundsOf(std::initializer_list<COLORREF> colours) const {
  const int width = rect.right - rect.left;
  RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (std::find(colours.begin(), colours.end(), pixels[i]) == colours.end()) continue;
    const LONG x = rect.left + static_cast<LONG>(i % width);
    const LONG y = rect.top + static_cast<LONG>(i / width);
    bounds.left = std::min(bounds.left, x);
    bounds.top = std::min(bounds.top, y);
    bounds.right = std::max(bounds.right, x + 1);
    bounds.bottom = std::max(bounds.bottom, y + 1);
  }
  if (bounds.left == LONG_MAX) return RECT{};
  return bounds;
}

VirtualDesktop::~VirtualDesktop() { Close(); }

HRESULT VirtualDesktop::Open(const std::wstring& name, int width, int height) {
  Close();
  std::wstring commandLine =
      L"explorer.exe /desktop=" + name + L"," + std::to_wstring(width) + L"x" + std::to_wstring(height);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    return common::LastErrorHr();
  }
  ::CloseHandle(info.hThread);
  explorer_.reset(info.hProcess);
  name_ = name;

  HDESK desktop = nullptr;
  WaitUntil([&] { return (desktop = ::OpenDesktopW(name.c_str(), 0, FALSE, GENERIC_ALL)) != nullptr; }, kStartMs);
  if (!desktop) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
  previous_ = ::GetThreadDesktop(::GetCurrentThreadId());
  if (!::SetThreadDesktop(desktop)) {
    const HRESULT hr = common::LastErrorHr();
    ::CloseDesktop(desktop);
    previous_ = nullptr;
    return hr;
  }
  desktop_ = desktop;
  // Ready for notification icons once explorer has made its task bar (it
  // stays hidden until the first icon arrives).
  const bool ready = WaitUntil([] { return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }, kStartMs);
  return ready ? S_OK : HRESULT_FROM_WIN32(ERROR_TIMEOUT);
}

void VirtualDesktop::Close() {
  if (desktop_) {
    ::SetThreadDesktop(previous_);
    ::CloseDesktop(desktop_);
    desktop_ = nullptr;
    previous_ = nullptr;
  }
  // With no program left on it, the desktop closes and its explorer ends.
  if (explorer_ && ::WaitForSingleObject(explorer_.get(), kEndMs) == WAIT_TIMEOUT) {
    ::TerminateProcess(explorer_.get(), 1);
    ::WaitForSingleObject(explorer_.get(), kEndMs);
  }
  explorer_.reset();
}

ScreenArea VirtualDesktop::Capture(const RECT& rect) const {
  ScreenArea area;
  area.rect = rect;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  common::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  common::UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
  common::WindowDc screen(nullptr);
  if (!bitmap || !memory || !screen) return area;
  {
    common::SelectedObject selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
  }
  const auto* raw = static_cast<const DWORD*>(bits);
  area.pixels.assign(raw, raw + width * height);
  for (auto& pixel : area.pixels) pixel &= 0xFFFFFF;
  return area;
}

HRESULT VirtualDesktop::ClickAt(int x, int y) const {
  // Wine runs a Unix program given by its Unix path. The desktop's X window
  // is titled "<name> - Wine desktop"; coordinates are relative to it.
  std::wstring commandLine = std::wstring(kXdotool) + L" search --name \"^" + name_ +
                             L" - Wine desktop$\" mousemove --window %1 " + std::to_wstring(x) + L" " +
                             std::to_wstring(y) + L" click 1";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    return common::LastErrorHr();
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return S_OK;
}

}  // namespace e2e

#include "tests/e2e/desktop.h"

#include <vector>

#include "common/hresult.h"
#include "tests/e2e/driver.h"

namespace e2e {
namespace {

HRESULT Run(std::wstring commandLine, common::UniqueKernelHandle* process) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return common::LastErrorHr();
  }
  ::CloseHandle(info.hThread);
  process->reset(info.hProcess);
  return S_OK;
}

}  // namespace

Desktop::~Desktop() {
  if (desktop_) {
    ::SetThreadDesktop(previous_);
    ::CloseDesktop(desktop_);
  }
  if (explorer_ && ::WaitForSingleObject(explorer_.get(), 5000) == WAIT_TIMEOUT) {
    ::TerminateProcess(explorer_.get(), 1);
  }
}

HRESULT Desktop::Open(const std::wstring& name, int width, int height) {
  name_ = name;
  RETURN_IF_FAILED(Run(L"explorer.exe /desktop=" + name + L"," + std::to_wstring(width) + L"x" +
                           std::to_wstring(height),
                       &explorer_));
  HDESK desktop = nullptr;
  WaitUntil([&] { return (desktop = ::OpenDesktopW(name.c_str(), 0, FALSE, GENERIC_ALL)) != nullptr; }, 15000);
  if (!desktop) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
  previous_ = ::GetThreadDesktop(::GetCurrentThreadId());
  if (!::SetThreadDesktop(desktop)) {
    ::CloseDesktop(desktop);
    return common::LastErrorHr();
  }
  desktop_ = desktop;
  // The task bar exists (hidden until the first icon) once explorer is ready.
  return WaitUntil([] { return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }, 15000)
             ? S_OK
             : HRESULT_FROM_WIN32(ERROR_TIMEOUT);
}

int Desktop::Count(const RECT& rect, COLORREF colour, POINT* middle) const {
  common::WindowDc screen(nullptr);
  int count = 0;
  LONG sumX = 0, sumY = 0;
  for (LONG y = rect.top; y < rect.bottom; ++y) {
    for (LONG x = rect.left; x < rect.right; ++x) {
      if (::GetPixel(screen.get(), x, y) != colour) continue;
      ++count;
      sumX += x;
      sumY += y;
    }
  }
  if (middle && count) *middle = {sumX / count, sumY / count};
  return count;
}

HRESULT Desktop::ClickAt(POINT point) const {
  // Wine starts a Unix program given by its path. The desktop's X window is
  // titled "<name> - Wine desktop"; coordinates are relative to it.
  common::UniqueKernelHandle xdotool;
  return Run(L"/usr/bin/xdotool search --name \"^" + name_ + L" - Wine desktop$\" mousemove --window %1 " +
                 std::to_wstring(point.x) + L" " + std::to_wstring(point.y) + L" click 1",
             &xdotool);
}

}  // namespace e2e

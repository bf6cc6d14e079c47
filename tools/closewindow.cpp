// close_window CLASS [SECONDS]: closes a running program the way a user
// does, by posting WM_CLOSE to its top-level window, and waits for the
// process to end. Prints what happened; exits with 0 only when the window
// was found and its process ended with exit code 0 in time. Used by the run
// script to end the program after a headless screenshot.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "common/unique_handle.h"

namespace {

constexpr DWORD kPollMs = 50;

// The first visible top-level window of the class, waiting up to `timeoutMs`.
HWND WaitForWindow(const wchar_t* windowClass, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    HWND window = ::FindWindowW(windowClass, nullptr);
    if (window && ::IsWindowVisible(window)) return window;
    if (::GetTickCount64() >= deadline) return nullptr;
    ::Sleep(kPollMs);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3) {
    std::fwprintf(stderr, L"usage: close_window CLASS [SECONDS]\n");
    return 2;
  }
  const wchar_t* windowClass = argv[1];
  const DWORD timeoutMs = argc == 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000 : 10000;

  HWND window = WaitForWindow(windowClass, timeoutMs);
  if (!window) {
    std::fwprintf(stderr, L"close_window: no visible window of class %ls\n", windowClass);
    return 1;
  }
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  common::UniqueKernelHandle process(
      ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) {
    std::fwprintf(stderr, L"close_window: cannot open process %lu, error %lu\n", processId, ::GetLastError());
    return 1;
  }
  if (!::PostMessageW(window, WM_CLOSE, 0, 0)) {
    std::fwprintf(stderr, L"close_window: WM_CLOSE not posted, error %lu\n", ::GetLastError());
    return 1;
  }
  if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
    std::fwprintf(stderr, L"close_window: the program did not end within %lu s\n", timeoutMs / 1000);
    return 1;
  }
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.get(), &exitCode);
  std::wprintf(L"close_window: the program ended with exit code %lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}

// close_window [--wait] CLASS [SECONDS]
//
// Closes a running program the way a user does: finds its visible top-level
// window of class CLASS, posts WM_CLOSE to it and waits for the process to
// end. Prints what happened; exits with 0 only when the window was found and
// its process ended with exit code 0, both within SECONDS (default 10).
//
// With --wait it only waits for the window to be visible and prints its
// place on the screen as "X Y WIDTH HEIGHT", leaving it open; when a
// message box shows up instead, it prints the message and fails at once.
// The run script uses both: to cut the window out of a screenshot, then to
// end the program.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/unique_handle.h"

namespace {

constexpr DWORD kPollMs = 50;

// Writes to the standard error: to a console as UTF-16, to a pipe or file
// as UTF-8 (the C runtime would cut the text at the first non-ASCII
// character in the "C" locale).
void PrintError(const std::wstring& text) {
  HANDLE stream = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0, mode = 0;
  if (::GetConsoleMode(stream, &mode)) {
    ::WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
  ::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK CollectMessageBox(HWND window, LPARAM context) {
  wchar_t name[16];
  if (!::IsWindowVisible(window) || !::GetClassNameW(window, name, 16) || std::wcscmp(name, L"#32770") != 0) {
    return TRUE;
  }
  auto* texts = reinterpret_cast<std::wstring*>(context);
  *texts += L"[" + TextOf(window) + L"]\n";
  if (HWND message = ::GetDlgItem(window, 0xFFFF)) *texts += TextOf(message) + L"\n";
  return TRUE;
}

// Title and text of every message box on the screen.
std::wstring MessageBoxes() {
  std::wstring texts;
  ::EnumWindows(&CollectMessageBox, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// The first visible top-level window of the class, waiting up to
// `timeoutMs`; with `stopAtMessageBox`, null as soon as a message box shows.
HWND WaitForWindow(const wchar_t* windowClass, DWORD timeoutMs, bool stopAtMessageBox) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    HWND window = ::FindWindowW(windowClass, nullptr);
    if (window && ::IsWindowVisible(window)) return window;
    if (stopAtMessageBox && !MessageBoxes().empty()) return nullptr;
    if (::GetTickCount64() >= deadline) return nullptr;
    ::Sleep(kPollMs);
  }
}

int PrintPlace(HWND window) {
  RECT place{};
  if (!::GetWindowRect(window, &place)) {
    std::fwprintf(stderr, L"close_window: no window rectangle, error %lu\n", ::GetLastError());
    return 1;
  }
  std::wprintf(L"%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left, place.bottom - place.top);
  return 0;
}

int Close(HWND window, DWORD timeoutMs) {
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int next = 1;
  const bool waitOnly = argc > 1 && std::wcscmp(argv[1], L"--wait") == 0;
  if (waitOnly) ++next;
  if (argc - next < 1 || argc - next > 2) {
    std::fwprintf(stderr, L"usage: close_window [--wait] CLASS [SECONDS]\n");
    return 2;
  }
  const wchar_t* windowClass = argv[next];
  const DWORD timeoutMs =
      argc - next == 2 ? static_cast<DWORD>(std::wcstoul(argv[next + 1], nullptr, 10)) * 1000 : 10000;

  HWND window = WaitForWindow(windowClass, timeoutMs, waitOnly);
  if (!window) {
    const std::wstring messages = MessageBoxes();
    if (!messages.empty()) {
      PrintError(L"close_window: a message box shows instead of the window:\n" + messages);
    } else {
      std::fwprintf(stderr, L"close_window: no visible window of class %ls within %lu s\n", windowClass,
                    timeoutMs / 1000);
    }
    return 1;
  }
  return waitOnly ? PrintPlace(window) : Close(window, timeoutMs);
}

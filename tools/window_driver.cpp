// window_driver [--desktop NAME] [--wait | --click ID | --lines ID] CLASS [SECONDS]
//
// Drives a running program's window from another process, as a user would,
// for the scripts that show and test the program. It finds the visible
// top-level window of class CLASS, waiting up to SECONDS (default 10), and
// then, by the option given:
//
//   (none)      posts WM_CLOSE to it and waits for its process to end;
//               exits with 0 only when that process ended with exit code 0
//               within SECONDS;
//   --wait      prints its place on the screen as "X Y WIDTH HEIGHT", then
//               its title on a line of its own, and leaves it open; when a
//               message box shows up instead, prints the message and fails
//               at once;
//   --click ID  presses its button of control id ID (BM_CLICK); fails when
//               the press does not return or a message box shows up;
//   --lines ID  prints the lines of its list box of control id ID, one a
//               line.
//
// --desktop NAME looks for the window on that desktop (a Wine virtual
// desktop) instead of the helper's own. What happened is printed; failures
// go to stderr.
//
// tools/run.sh drives the program in a virtual desktop with it and ends it;
// the install test waits for the installed program's window, reads its
// title and closes it.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/unique_handle.h"

namespace {

constexpr DWORD kPollMs = 50;

// Writes to a standard stream: to a console as UTF-16, to a pipe or file
// as UTF-8 (the C runtime would cut the text at the first non-ASCII
// character in the "C" locale).
void Write(DWORD streamId, const std::wstring& text) {
  HANDLE stream = ::GetStdHandle(streamId);
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

void PrintError(const std::wstring& text) { Write(STD_ERROR_HANDLE, text); }
void PrintOutput(const std::wstring& text) { Write(STD_OUTPUT_HANDLE, text); }

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

int PrintPlaceAndTitle(HWND window) {
  RECT place{};
  if (!::GetWindowRect(window, &place)) {
    std::fwprintf(stderr, L"window_driver: no window rectangle, error %lu\n", ::GetLastError());
    return 1;
  }
  std::wprintf(L"%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left, place.bottom - place.top);
  std::fflush(stdout);
  PrintOutput(TextOf(window) + L"\n");
  return 0;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<ControlSearch*>(context);
  if (::GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

// The descendant of `window` with control id `id` (controls inside a frame
// are children of the frame, not of the window).
HWND FindControl(HWND window, int id) {
  ControlSearch search{id, nullptr};
  ::EnumChildWindows(window, &MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int Click(HWND window, int id, DWORD timeoutMs) {
  HWND button = FindControl(window, id);
  if (!button) {
    std::fwprintf(stderr, L"window_driver: no control %d in the window\n", id);
    return 1;
  }
  DWORD_PTR ignored = 0;
  const bool answered =
      ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
  const std::wstring messages = MessageBoxes();
  if (!answered || !messages.empty()) {
    PrintError(L"window_driver: the press did not return cleanly; the program says:\n" + messages);
    return 1;
  }
  return 0;
}

int PrintLines(HWND window, int id, DWORD timeoutMs) {
  HWND list = FindControl(window, id);
  DWORD_PTR count = 0;
  if (!list || !::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, timeoutMs, &count)) {
    std::fwprintf(stderr, L"window_driver: no list box %d that answers\n", id);
    return 1;
  }
  std::wstring lines;
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_NORMAL, timeoutMs, &length)) return 1;
    std::wstring line(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), SMTO_NORMAL,
                               timeoutMs, &copied)) {
      return 1;
    }
    line.resize(copied <= length ? copied : 0);  // LB_ERR reads as a huge count
    lines += line + L"\n";
  }
  PrintOutput(lines);
  return 0;
}

// Makes the calling thread (which owns no windows yet) see the desktop
// `name`, waiting up to `timeoutMs` for it to be made.
bool AttachToDesktop(const wchar_t* name, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  HDESK desktop = nullptr;
  while (!(desktop = ::OpenDesktopW(name, 0, FALSE, GENERIC_ALL)) && ::GetTickCount64() < deadline) {
    ::Sleep(kPollMs);
  }
  // The handle stays open while the helper runs: the thread is on that desktop.
  if (desktop && ::SetThreadDesktop(desktop)) return true;
  std::fwprintf(stderr, L"window_driver: cannot attach to desktop %ls, error %lu\n", name, ::GetLastError());
  return false;
}

int Close(HWND window, DWORD timeoutMs) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  common::UniqueKernelHandle process(
      ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) {
    std::fwprintf(stderr, L"window_driver: cannot open process %lu, error %lu\n", processId, ::GetLastError());
    return 1;
  }
  if (!::PostMessageW(window, WM_CLOSE, 0, 0)) {
    std::fwprintf(stderr, L"window_driver: WM_CLOSE not posted, error %lu\n", ::GetLastError());
    return 1;
  }
  if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
    std::fwprintf(stderr, L"window_driver: the program did not end within %lu s\n", timeoutMs / 1000);
    return 1;
  }
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.get(), &exitCode);
  std::wprintf(L"window_driver: the program ended with exit code %lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  enum class Mode { kClose, kWait, kClick, kLines } mode = Mode::kClose;
  int next = 1;
  int controlId = 0;
  const wchar_t* desktop = nullptr;
  if (argc - next >= 2 && std::wcscmp(argv[next], L"--desktop") == 0) {
    desktop = argv[next + 1];
    next += 2;
  }
  if (argc - next >= 1 && std::wcscmp(argv[next], L"--wait") == 0) {
    mode = Mode::kWait;
    ++next;
  } else if (argc - next >= 2 &&
             (std::wcscmp(argv[next], L"--click") == 0 || std::wcscmp(argv[next], L"--lines") == 0)) {
    mode = argv[next][2] == L'c' ? Mode::kClick : Mode::kLines;
    controlId = static_cast<int>(std::wcstol(argv[next + 1], nullptr, 10));
    next += 2;
  }
  if (argc - next < 1 || argc - next > 2) {
    std::fwprintf(stderr,
                  L"usage: window_driver [--desktop NAME] [--wait | --click ID | --lines ID] CLASS [SECONDS]\n");
    return 2;
  }
  const wchar_t* windowClass = argv[next];
  const DWORD timeoutMs =
      argc - next == 2 ? static_cast<DWORD>(std::wcstoul(argv[next + 1], nullptr, 10)) * 1000 : 10000;

  if (desktop && !AttachToDesktop(desktop, timeoutMs)) return 1;
  HWND window = WaitForWindow(windowClass, timeoutMs, mode != Mode::kClose);
  if (!window) {
    const std::wstring messages = MessageBoxes();
    if (!messages.empty()) {
      PrintError(L"window_driver: a message box shows instead of the window:\n" + messages);
    } else {
      std::fwprintf(stderr, L"window_driver: no visible window of class %ls within %lu s\n", windowClass,
                    timeoutMs / 1000);
    }
    return 1;
  }
  switch (mode) {
    case Mode::kWait: return PrintPlaceAndTitle(window);
    case Mode::kClick: return Click(window, controlId, timeoutMs);
    case Mode::kLines: return PrintLines(window, controlId, timeoutMs);
    default: return Close(window, timeoutMs);
  }
}

#pragma once
// Driving another process's windows the way a user's input would: clicks
// and texts go through window messages, with timeouts, so that a program
// that shows a message box (and so stops answering) fails a test instead of
// hanging it.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/child_process.h"

namespace e2e {

constexpr DWORD kPollMs = 50;

// Polls `condition` until it holds or `timeoutMs` has passed; its last answer.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount64() >= deadline) return condition();
    ::Sleep(kPollMs);
  }
}

// The visible top-level window of `windowClass` that process `processId`
// owns, on the calling thread's desktop; null when there is none.
HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass);

// The program's visible top-level window of `windowClass`; null as soon as
// the program shows a message box instead, or ends, or `timeoutMs` passes.
HWND WaitForProgramWindow(const ChildProcess& program, const wchar_t* windowClass, DWORD timeoutMs);

std::wstring WindowText(HWND window);

// What the message boxes of process `processId` say (title and text), for
// failure messages; empty when it shows none.
std::wstring DialogTexts(DWORD processId);

// A message answered within `timeoutMs`; false when the program did not
// answer in time (it shows a message box, or hangs).
bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
                     LRESULT* result = nullptr);

// BM_CLICK, answered within `timeoutMs` (false: the handler did not return,
// e.g. because it shows a message box).
bool ClickButton(HWND button, DWORD timeoutMs);

// WM_SETTEXT, answered within `timeoutMs`.
bool SetWindowTextTo(HWND window, const std::wstring& text, DWORD timeoutMs);

// Every line of a list box, in order (as far as the program answers within
// `timeoutMs` for each message).
std::vector<std::wstring> ListBoxLines(HWND list, DWORD timeoutMs);

}  // namespace e2e

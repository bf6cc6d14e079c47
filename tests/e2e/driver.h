#pragma once
// Driving the real program from another process as a user would: start it,
// find its window, click, read its log, with time limits everywhere, so a
// program that shows a message box (and so stops answering) fails a test
// instead of hanging it.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace e2e {

constexpr DWORD kAnswerMs = 10000;

// Polls `condition` until it holds or `timeoutMs` has passed; its last answer.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (::GetTickCount64() >= deadline) return condition();
    ::Sleep(50);
  }
  return true;
}

// A program the test started; asked to close, then ended, if the test
// leaves it running.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();

  // Starts `path` (on `desktop`, null: this one) and waits for its visible
  // window of `windowClass`; null when it does not come, shows a message
  // box, or ends first.
  HWND Start(const std::wstring& path, const wchar_t* windowClass, const wchar_t* desktop = nullptr);
  // Asks every window of the program (message boxes too) to close.
  void CloseWindows() const;
  // The exit code once it has ended within `timeoutMs`.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
  // What its message boxes say ("[title] text"); empty when it shows none.
  std::wstring Dialogs() const;
  // The full paths of the modules named `fileName` it has loaded.
  std::vector<std::wstring> Modules(const wchar_t* fileName) const;

 private:
  common::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// A message answered within kAnswerMs; false when the program did not answer.
bool Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT* result = nullptr);

std::vector<std::wstring> ListBoxLines(HWND list);

std::string Utf8(const std::wstring& text);

// The folder of the test program and the files built beside it.
std::wstring BinFolder();

}  // namespace e2e

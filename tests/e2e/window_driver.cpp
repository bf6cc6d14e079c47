#include "tests/e2e/window_driver.h"

namespace e2e {
namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* windowClass;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t name[256];
  if (owner == search->processId && ::IsWindowVisible(window) && ::GetClassNameW(window, name, 256) &&
      ::lstrcmpW(name, search->windowClass) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectDialogText(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<std::pair<DWORD, std::wstring>*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t name[64];
  if (owner != search->first || !::GetClassNameW(window, name, 64) || ::lstrcmpW(name, L"#32770") != 0) {
    return TRUE;
  }
  // A message box: its title, then its text (the static control 0xFFFF).
  search->second += L"[" + WindowText(window) + L"] ";
  if (HWND text = ::GetDlgItem(window, 0xFFFF)) search->second += WindowText(text);
  search->second += L"\n";
  return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass) {
  WindowSearch search{processId, windowClass, nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProgramWindow(const ChildProcess& program, const wchar_t* windowClass, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        window = FindProcessWindow(program.id(), windowClass);
        return window || !program.running() || !DialogTexts(program.id()).empty();
      },
      timeoutMs);
  return window;
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  text.resize(::GetWindowTextW(window, text.data(), length + 1));
  return text;
}

std::wstring DialogTexts(DWORD processId) {
  std::pair<DWORD, std::wstring> search{processId, {}};
  ::EnumWindows(&CollectDialogText, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
                     LRESULT* result) {
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer)) return false;
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

bool ClickButton(HWND button, DWORD timeoutMs) { return SendWithTimeout(button, BM_CLICK, 0, 0, timeoutMs); }

bool SetWindowTextTo(HWND window, const std::wstring& text, DWORD timeoutMs) {
  return SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), timeoutMs);
}

std::vector<std::wstring> ListBoxLines(HWND list, DWORD timeoutMs) {
  std::vector<std::wstring> lines;
  LRESULT count = 0;
  if (!SendWithTimeout(list, LB_GETCOUNT, 0, 0, timeoutMs, &count)) return lines;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = LB_ERR;
    if (!SendWithTimeout(list, LB_GETTEXTLEN, i, 0, timeoutMs, &length) || length < 0) break;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = LB_ERR;
    if (!SendWithTimeout(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), timeoutMs, &copied)) break;
    line.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    lines.push_back(line);
  }
  return lines;
}

}  // namespace e2e

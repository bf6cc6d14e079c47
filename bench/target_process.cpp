#include "bench/target_process.h"

#include <psapi.h>

#include "bench/stopwatch.h"
#include "common/hresult.h"

namespace bench {
namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* windowClass;  // null: any visible window
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  if (search->windowClass) {
    wchar_t name[256];
    if (!::GetClassNameW(window, name, 256) || ::lstrcmpW(name, search->windowClass) != 0) return TRUE;
  } else if (!::IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass) {
  WindowSearch search{processId, windowClass, nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TargetProcess::~TargetProcess() {
  if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

HRESULT TargetProcess::Start(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    RETURN_HR(common::LastErrorHr());
  }
  ::CloseHandle(started.hThread);
  process_.reset(started.hProcess);
  id_ = started.dwProcessId;
  return S_OK;
}

HWND TargetProcess::WaitUntilReady(DWORD timeoutMs) {
  Stopwatch waited;
  if (::WaitForInputIdle(process_.get(), timeoutMs) != 0) return nullptr;
  for (;;) {
    if (HWND window = FindProcessWindow(id_, nullptr)) return window;
    if (waited.Milliseconds() > timeoutMs || ::WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) {
      return nullptr;
    }
    ::Sleep(1);
  }
}

HWND TargetProcess::FindWindowOfClass(const wchar_t* windowClass) const {
  return FindProcessWindow(id_, windowClass);
}

SIZE_T TargetProcess::PagefileUsage() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  return ::GetProcessMemoryInfo(process_.get(), &counters, sizeof(counters)) ? counters.PagefileUsage : 0;
}

double TargetProcess::Close(HWND window, DWORD timeoutMs) {
  Stopwatch closing;
  if (!::PostMessageW(window, WM_CLOSE, 0, 0)) return -1;
  if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  return closing.Milliseconds();
}

}  // namespace bench

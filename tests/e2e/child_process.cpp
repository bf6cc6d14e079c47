#include "tests/e2e/child_process.h"

#include "common/hresult.h"

namespace e2e {
namespace {

constexpr DWORD kGraceMs = 3000;

BOOL CALLBACK PostCloseToWindowOfProcess(HWND window, LPARAM processId) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

ChildProcess::~ChildProcess() { EndForcibly(); }

HRESULT ChildProcess::Start(const std::wstring& commandLine, const wchar_t* desktop) {
  EndForcibly();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(desktop);
  PROCESS_INFORMATION info{};
  std::wstring mutableLine = commandLine;
  if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    return common::LastErrorHr();
  }
  ::CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
  return S_OK;
}

bool ChildProcess::running() const {
  return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) const {
  if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!::GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

void ChildProcess::EndForcibly() {
  if (!running()) return;
  ::EnumWindows(&PostCloseToWindowOfProcess, static_cast<LPARAM>(id_));
  if (::WaitForSingleObject(process_.get(), kGraceMs) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.get(), 255);
    ::WaitForSingleObject(process_.get(), kGraceMs);
  }
}

}  // namespace e2e

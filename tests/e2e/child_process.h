#pragma once
// A program the test starts and must not leave behind: when the owner goes
// out of scope while the program still runs (a failed assertion), its
// windows are asked to close, and it is terminated as a last resort.

#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_handle.h"

namespace e2e {

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;
  ~ChildProcess();

  // Starts `commandLine`; `desktop` names the desktop to run on (null: the
  // caller's).
  HRESULT Start(const std::wstring& commandLine, const wchar_t* desktop = nullptr);

  DWORD id() const { return id_; }
  bool running() const;

  // The exit code once the process has ended within `timeoutMs`.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;

  // WM_CLOSE to every top-level window of the process, then a short wait,
  // then TerminateProcess.
  void EndForcibly();

 private:
  common::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

}  // namespace e2e

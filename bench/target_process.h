#pragma once
// A program the benchmark starts, watches and ends: when it is ready, its
// windows, its memory, how long it takes to close.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace bench {

class TargetProcess {
 public:
  TargetProcess() = default;
  TargetProcess(const TargetProcess&) = delete;
  TargetProcess& operator=(const TargetProcess&) = delete;
  ~TargetProcess();  // a program still running is ended

  // Starts `path` in its own folder.
  HRESULT Start(const std::wstring& path);

  // Waits until the program waits for input with a visible top-level
  // window; that window, or null after `timeoutMs`.
  HWND WaitUntilReady(DWORD timeoutMs);

  // The program's top-level window of `windowClass`, visible or not.
  HWND FindWindowOfClass(const wchar_t* windowClass) const;

  // Resident private memory in bytes (under Wine, PagefileUsage is that;
  // PrivateUsage reads 0).
  SIZE_T PagefileUsage() const;

  // Posts WM_CLOSE to `window`; the milliseconds until the process ended,
  // or a negative value when it did not end within `timeoutMs`.
  double Close(HWND window, DWORD timeoutMs);

 private:
  common::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

}  // namespace bench

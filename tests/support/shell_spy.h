#pragma once
// While a ShellSpy lives, a module's calls of Shell_NotifyIconW reach a
// recorder that answers for the shell.

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <set>
#include <vector>

#include "tests/support/import_hook.h"
#include "tests/support/pictures.h"

namespace support {

class ShellSpy {
 public:
  struct Call {
    DWORD message;                // NIM_ADD, NIM_MODIFY, NIM_DELETE...
    NOTIFYICONDATAW data;         // as the shell received it
    std::optional<IconLook> icon;  // data.hIcon, looked at during the call
  };

  explicit ShellSpy(HMODULE module);
  ShellSpy(const ShellSpy&) = delete;
  ShellSpy& operator=(const ShellSpy&) = delete;
  ~ShellSpy();

  bool installed() const { return hook_.installed(); }

  std::vector<Call> calls;
  std::set<DWORD> failing;  // messages the shell refuses (answers FALSE)
  DWORD failingError = ERROR_SUCCESS;  // the last error a refusal leaves

 private:
  static BOOL WINAPI Record(DWORD message, PNOTIFYICONDATAW data);

  ImportHook hook_;
};

}  // namespace support

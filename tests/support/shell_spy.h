#pragma once
// Records what a module tells the shell about notification icons: while a
// ShellSpy lives, the module's import of Shell_NotifyIconW points at a
// recorder (the control itself is not changed or told). By default the
// shell is not reached and every call succeeds; a test may make calls fail
// or pass them on to the real shell.

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <set>
#include <vector>

namespace support {

class ShellSpy {
 public:
  struct Call {
    DWORD message;              // NIM_ADD, NIM_MODIFY, NIM_DELETE...
    NOTIFYICONDATAW data;       // as the shell received it
    std::optional<COLORREF> iconColor;  // centre pixel of data.hIcon, taken at the call
  };

  explicit ShellSpy(HMODULE module);
  ShellSpy(const ShellSpy&) = delete;
  ShellSpy& operator=(const ShellSpy&) = delete;
  ~ShellSpy();

  bool installed() const { return slot_ != nullptr; }

  std::vector<Call> calls;
  // Messages the shell refuses (answers FALSE).
  std::set<DWORD> failing;
  // Also hand each call to the real shell, and answer what it answers.
  bool forward = false;

 private:
  static BOOL WINAPI Record(DWORD message, PNOTIFYICONDATAW data);

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace support

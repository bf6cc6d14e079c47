#pragma once
// While a ShellSpy lives, a module's import of Shell_NotifyIconW points at a
// recorder that answers for the shell (the module itself is not changed).

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <set>
#include <vector>

namespace support {

class ShellSpy {
 public:
  struct Call {
    DWORD message;                      // NIM_ADD, NIM_MODIFY, NIM_DELETE...
    NOTIFYICONDATAW data;               // as the shell received it
    std::optional<COLORREF> iconColor;  // centre pixel of data.hIcon, taken at the call
  };

  explicit ShellSpy(HMODULE module);
  ShellSpy(const ShellSpy&) = delete;
  ShellSpy& operator=(const ShellSpy&) = delete;
  ~ShellSpy();

  bool installed() const { return slot_ != nullptr; }

  std::vector<Call> calls;
  std::set<DWORD> failing;  // messages the shell refuses (answers FALSE)

 private:
  static BOOL WINAPI Record(DWORD message, PNOTIFYICONDATAW data);

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace support

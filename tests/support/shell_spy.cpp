#include "tests/support/shell_spy.h"

#include <algorithm>
#include <cstring>

namespace support {
namespace {

ShellSpy* active = nullptr;

}  // namespace

ShellSpy::ShellSpy(HMODULE module)
    : hook_(module, "shell32.dll", "Shell_NotifyIconW", reinterpret_cast<void*>(&ShellSpy::Record)) {
  active = this;
}

ShellSpy::~ShellSpy() { active = nullptr; }

BOOL WINAPI ShellSpy::Record(DWORD message, PNOTIFYICONDATAW data) {
  ShellSpy* spy = active;
  if (!spy || !data) return FALSE;
  Call call{message, {}, std::nullopt};
  std::memcpy(&call.data, data, std::min<size_t>(data->cbSize, sizeof(call.data)));
  if ((data->uFlags & NIF_ICON) && data->hIcon) call.icon = LookOf(data->hIcon);
  spy->calls.push_back(call);
  if (!spy->failing.count(message)) return TRUE;
  ::SetLastError(spy->failingError);
  return FALSE;
}

}  // namespace support

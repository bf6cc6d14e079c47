#include "traylume/server_module.h"

// The linker's symbol for the image base of the module it links, a DLL's
// handle without a global set in DllMain.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ocx {

HMODULE ThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace ocx

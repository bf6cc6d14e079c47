#pragma once
// While an ImportHook lives, a module's import of one function calls a
// replacement instead (the module itself is not changed on disk).

#include <windows.h>

namespace support {

class ImportHook {
 public:
  ImportHook(HMODULE module, const char* dll, const char* function, void* replacement);
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;
  ~ImportHook();

  // False when the module does not import the function by name.
  bool installed() const { return slot_ != nullptr; }
  // What the module called before.
  template <typename Function>
  Function original() const {
    return reinterpret_cast<Function>(original_);
  }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace support

#pragma once
// What a shipped file weighs, and whether it still carries symbols or
// debug sections.

#include <windows.h>

#include <string>

namespace bench {

struct ShippedFile {
  ULONGLONG bytes = 0;  // 0: missing
  bool stripped = false;  // no symbol table and no debug section
};

ShippedFile InspectShippedFile(const std::wstring& path);

}  // namespace bench

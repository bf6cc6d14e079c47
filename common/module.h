#pragma once
// The module (program or DLL) this code is linked into, and paths of modules.

#include <windows.h>

#include <string>

namespace common {

// The module this code is part of: the DLL when linked into one, else the program.
HMODULE ThisModule();

// The full path `module` was loaded from (nullptr: the program); empty on failure.
std::wstring ModulePath(HMODULE module);

// The folder of `path`, without a trailing separator; empty when it has none.
std::wstring FolderOf(const std::wstring& path);

}  // namespace common

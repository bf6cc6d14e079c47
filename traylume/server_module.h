#pragma once
// This server's own module: its handle and the path it was loaded from.

#include <windows.h>

#include <string>

namespace ocx {

HMODULE ThisModule();

// Full path of Traylume.ocx as loaded, for registration and the type library.
std::wstring ModulePath();

}  // namespace ocx

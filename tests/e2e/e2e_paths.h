#pragma once
// Where the end-to-end tests find what they run: next to themselves, in the
// build's bin folder, as a user's installation holds them.

#include <string>

namespace e2e {

// The folder of the running test program, with a trailing backslash.
std::wstring BinFolder();

// The sample program and the control file.
std::wstring ProgramPath();
std::wstring ControlPath();

// A new empty folder under the temporary folder, for files a test writes.
std::wstring MakeScratchFolder();

// UTF-8 for test messages.
std::string Utf8(const std::wstring& text);

}  // namespace e2e

#include "tests/e2e/e2e_paths.h"

#include <windows.h>

namespace e2e {

std::wstring BinFolder() {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path.resize(path.find_last_of(L"\\/") + 1);
  return path;
}

std::wstring ProgramPath() { return BinFolder() + L"TraylumeSample.exe"; }

std::wstring ControlPath() { return BinFolder() + L"Traylume.ocx"; }

std::wstring MakeScratchFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  for (unsigned attempt = 0;; ++attempt) {
    const std::wstring folder = std::wstring(temp) + L"traylume-e2e-" + std::to_wstring(::GetCurrentProcessId()) +
                                L"-" + std::to_wstring(::GetTickCount() + attempt) + L"\\";
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string result(size, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
  return result;
}

}  // namespace e2e

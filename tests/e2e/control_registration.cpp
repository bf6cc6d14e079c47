#include "tests/e2e/control_registration.h"

#include <objbase.h>
#include <tlhelp32.h>

#include <vector>

#include "common/hresult.h"

namespace e2e {

ControlServer::ControlServer(const std::wstring& path) : module_(::LoadLibraryW(path.c_str())) {
  loaded_ = module_ ? S_OK : common::LastErrorHr();
}

HRESULT ControlServer::Call(const char* entry) const {
  if (!module_) return loaded_;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto function = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), entry)));
  if (!function) return common::LastErrorHr();
  return function();
}

bool ProgIdRegistered() {
  CLSID clsid{};
  return SUCCEEDED(::CLSIDFromProgID(L"TraylumeControl.Traylume", &clsid));
}

std::vector<std::wstring> LoadedModulePaths(DWORD processId, const std::wstring& fileName) {
  std::vector<std::wstring> paths;
  common::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
  if (!snapshot) return paths;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Module32FirstW(snapshot.get(), &entry); more; more = ::Module32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szModule, fileName.c_str()) == 0) paths.push_back(entry.szExePath);
  }
  return paths;
}

}  // namespace e2e

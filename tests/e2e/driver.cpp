#include "tests/e2e/driver.h"

#include <tlhelp32.h>

#include "common/hresult.h"
#include "common/module.h"
#include "common/text.h"

namespace e2e {
namespace {

struct Search {
  DWORD processId;
  const wchar_t* windowClass;  // null: message boxes
  HWND found;
  std::wstring dialogs;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t name[256] = {};
  if (owner != search->processId || !::GetClassNameW(window, name, 256)) return TRUE;
  if (!search->windowClass) {
    if (::lstrcmpW(name, L"#32770") == 0) {
      search->dialogs += L"[" + TextOf(window) + L"] " + TextOf(::GetDlgItem(window, 0xFFFF)) + L"\n";
    }
    return TRUE;
  }
  if (::IsWindowVisible(window) && ::lstrcmpW(name, search->windowClass) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PostClose(HWND window, LPARAM processId) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

Program::~Program() {
  if (!process_ || ::WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) return;
  CloseWindows();
  if (::WaitForSingleObject(process_.get(), 3000) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 255);
}

HWND Program::Start(const std::wstring& path, const wchar_t* windowClass, const wchar_t* desktop) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(desktop);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return nullptr;
  }
  ::CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
  Search search{id_, windowClass, nullptr, {}};
  WaitUntil(
      [&] {
        ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
        return search.found || !Dialogs().empty() || WaitForExit(0);
      },
      15000);
  return search.found;
}

void Program::CloseWindows() const { ::EnumWindows(&PostClose, static_cast<LPARAM>(id_)); }

std::optional<DWORD> Program::WaitForExit(DWORD timeoutMs) const {
  DWORD code = 0;
  if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  if (!::GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

std::wstring Program::Dialogs() const {
  Search search{id_, nullptr, nullptr, {}};
  ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
  return search.dialogs;
}

std::vector<std::wstring> Program::Modules(const wchar_t* fileName) const {
  std::vector<std::wstring> paths;
  common::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id_));
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = snapshot && ::Module32FirstW(snapshot.get(), &entry); more;
       more = ::Module32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szModule, fileName) == 0) paths.push_back(entry.szExePath);
  }
  return paths;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerMs, &answer)) return false;
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

std::vector<std::wstring> ListBoxLines(HWND list) {
  std::vector<std::wstring> lines;
  LRESULT count = 0;
  Send(list, LB_GETCOUNT, 0, 0, &count);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = 0;
    if (!Send(list, LB_GETTEXTLEN, i, 0, &length) || length < 0) break;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    if (!Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), &length) || length < 0) break;
    line.resize(static_cast<size_t>(length));
    lines.push_back(line);
  }
  return lines;
}

std::string Utf8(const std::wstring& text) { return common::Utf8(text); }

std::wstring BinFolder() { return common::FolderOf(common::ModulePath(nullptr)); }

}  // namespace e2e

#include "common/hresult.h"

#include <atomic>
#include <cstdio>

namespace common {
namespace {

void DebuggerOutput(const char* file, int line, HRESULT hr) {
  wchar_t place[300];
  std::swprintf(place, sizeof(place) / sizeof(place[0]), L"%hs(%d): failed with ", file ? file : "?", line);
  const std::wstring text = place + HresultCode(hr) + L"\n";
  ::OutputDebugStringW(text.c_str());
}

std::atomic<FailureHook> hook{&DebuggerOutput};

}  // namespace

std::wstring HresultCode(HRESULT hr) {
  wchar_t code[16];
  std::swprintf(code, sizeof(code) / sizeof(code[0]), L"0x%08lX", static_cast<unsigned long>(hr));
  return code;
}

std::wstring SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

FailureHook SetFailureHook(FailureHook replacement) {
  return hook.exchange(replacement ? replacement : &DebuggerOutput);
}

HRESULT ReportFailure(const char* file, int line, HRESULT hr) {
  hook.load()(file, line, hr);
  return hr;
}

}  // namespace common

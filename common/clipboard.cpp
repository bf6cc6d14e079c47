#include "common/clipboard.h"

#include <cstring>

#include "common/hresult.h"
#include "common/unique_handle.h"

namespace common {
namespace {

constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenRetryMs = 10;

}  // namespace

ClipboardScope::ClipboardScope(HWND owner) : status_(E_FAIL) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (::OpenClipboard(owner)) {
      status_ = S_OK;
      return;
    }
    status_ = LastErrorHr();
    ::Sleep(kOpenRetryMs);
  }
}

ClipboardScope::~ClipboardScope() {
  if (SUCCEEDED(status_)) ::CloseClipboard();
}

HRESULT SetClipboardText(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueHGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  RETURN_LAST_ERROR_IF(!memory);
  {
    GlobalMemoryLock locked(memory.get());
    RETURN_LAST_ERROR_IF(!locked.get());
    std::memcpy(locked.get(), text.c_str(), bytes);
  }
  ClipboardScope clipboard(owner);
  RETURN_IF_FAILED(clipboard.status());
  RETURN_LAST_ERROR_IF(!::EmptyClipboard());
  RETURN_LAST_ERROR_IF(!::SetClipboardData(CF_UNICODETEXT, memory.get()));
  memory.release();  // the clipboard owns it now
  return S_OK;
}

}  // namespace common

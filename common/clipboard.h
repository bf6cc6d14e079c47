#pragma once
// The clipboard: opened for a scope, and plain text put on it.

#include <windows.h>

#include <string>

namespace common {

// OpenClipboard/CloseClipboard as a scope. Another program may hold the
// clipboard for a moment, so opening is tried a few times.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner);
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  ~ClipboardScope();
  // S_OK while the clipboard is open; else why it could not be opened.
  HRESULT status() const { return status_; }

 private:
  HRESULT status_;
};

// Replaces what the clipboard holds with `text` as CF_UNICODETEXT, with
// `owner` as the clipboard's owner.
HRESULT SetClipboardText(HWND owner, const std::wstring& text);

}  // namespace common

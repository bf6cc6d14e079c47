#pragma once
// The outcome of one access to a COM object: the HRESULT, which access it
// was, and the explanation the object or the system gave. Every failure the
// user sees travels in one of these to the window's one reporting path.

#include <windows.h>

#include <string>

namespace common {

struct ComResult {
  HRESULT hr = S_OK;
  std::wstring operation;    // what was attempted, e.g. L"ToolTipText"
  std::wstring description;  // EXCEPINFO / IErrorInfo / system text; may be empty

  bool ok() const { return SUCCEEDED(hr); }
  explicit operator bool() const { return ok(); }

  static ComResult Success() { return {}; }
  static ComResult Failure(HRESULT hr, std::wstring operation, std::wstring description = {}) {
    return {hr, std::move(operation), std::move(description)};
  }
};

}  // namespace common

#pragma once
// HRESULT helpers: a failed BOOL becomes an HRESULT at once.

#include <windows.h>

#include <string>

namespace common {

// HRESULT_FROM_WIN32(GetLastError()), never S_OK.
inline HRESULT LastErrorHr() {
  const DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The system's text for an HRESULT, without the trailing line break; empty
// when the system has none.
std::wstring SystemMessage(HRESULT hr);

}  // namespace common

#define RETURN_IF_FAILED(expr)              \
  do {                                      \
    const HRESULT hr_result_ = (expr);      \
    if (FAILED(hr_result_)) return hr_result_; \
  } while (0)

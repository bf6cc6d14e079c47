#pragma once
// HRESULT helpers. A failed BOOL becomes an HRESULT at once, and every
// failure that RETURN_IF_FAILED and its kin see goes, with its file and
// line, to one hook: by default the debugger's output (OutputDebugStringW;
// under Wine, WINEDEBUG=+debugstr shows it), so that a failure deep inside
// a module leaves a trace.

#include <windows.h>

#include <new>
#include <string>

namespace common {

// HRESULT_FROM_WIN32(GetLastError()), never S_OK.
inline HRESULT LastErrorHr() {
  const DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// An HRESULT as a user reads it in a message: "0x8007000E".
std::wstring HresultCode(HRESULT hr);

// The system's text for an HRESULT, without the trailing line break; empty
// when the system has none.
std::wstring SystemMessage(HRESULT hr);

// Receives every failure the macros below report. The hook belongs to the
// module it is set in (each module links its own copy of this library).
using FailureHook = void (*)(const char* file, int line, HRESULT hr);

// Installs `hook` (nullptr: the default) and returns the one it replaces.
FailureHook SetFailureHook(FailureHook hook);

// Hands `hr` with its place to the hook and returns it.
HRESULT ReportFailure(const char* file, int line, HRESULT hr);

}  // namespace common

// Returns from the calling function with the failure of `expr`, reported.
#define RETURN_IF_FAILED(expr)                                                      \
  do {                                                                              \
    const HRESULT hr_result_ = (expr);                                              \
    if (FAILED(hr_result_)) return ::common::ReportFailure(__FILE__, __LINE__, hr_result_); \
  } while (0)

// Returns the failure `hr`, reported (a refusal decided here).
#define RETURN_HR(hr) return ::common::ReportFailure(__FILE__, __LINE__, (hr))

// Returns the thread's last Win32 error, reported, when `condition` holds
// (right after a call that failed and set it).
#define RETURN_LAST_ERROR_IF(condition)                      \
  do {                                                       \
    if (condition) RETURN_HR(::common::LastErrorHr());       \
  } while (0)

// Reports the failure of `expr` and goes on; evaluates to its HRESULT.
#define LOG_IF_FAILED(expr) ::common::LogIfFailed(__FILE__, __LINE__, (expr))

namespace common {

// Runs `body`, an HRESULT-returning callable, so that no C++ exception
// leaves a COM method, window procedure or callback: running out of memory
// becomes E_OUTOFMEMORY, anything else E_UNEXPECTED.
template <typename Body>
HRESULT NoThrow(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return ReportFailure(__FILE__, __LINE__, E_OUTOFMEMORY);
  } catch (...) {
    return ReportFailure(__FILE__, __LINE__, E_UNEXPECTED);
  }
}

inline HRESULT LogIfFailed(const char* file, int line, HRESULT hr) {
  return FAILED(hr) ? ReportFailure(file, line, hr) : hr;
}
}  // namespace common

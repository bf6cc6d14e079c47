#pragma once
// Failures that a user reads: an HRESULT with a Japanese description,
// handed to the caller through EXCEPINFO and the thread's IErrorInfo.

#include <windows.h>
#include <oaidl.h>

namespace traylume {

struct ControlError {
  HRESULT code = E_FAIL;
  const wchar_t* description = nullptr;
};

// How a member handler fails with a text the user reads: fills `error` and
// returns DISP_E_EXCEPTION, which Invoke hands on through ReportException.
inline HRESULT Fail(ControlError* error, HRESULT code, const wchar_t* description) {
  *error = {code, description};
  return DISP_E_EXCEPTION;
}

// Fills `info` (when the caller gave one) and the thread's error info, and
// returns DISP_E_EXCEPTION, as IDispatch::Invoke reports such a failure.
HRESULT ReportException(const ControlError& error, EXCEPINFO* info);

// Sets the thread's error info for a failure of interface `iid` and
// returns error.code, for methods that have no EXCEPINFO.
HRESULT ReportError(const ControlError& error, REFIID iid);

// An EXCEPINFO for IErrorLog::AddError.
void FillExcepInfo(const ControlError& error, EXCEPINFO* info);

}  // namespace traylume

#pragma once
// Turning a failed HRESULT into a ComResult with the best explanation there
// is: the EXCEPINFO of IDispatch::Invoke, else the thread's IErrorInfo, else
// the system's text for the code.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "component/com_result.h"

namespace traylume::detail {

// Drops error information left on this thread by earlier calls, so that the
// IErrorInfo read after a failure belongs to that failure.
void ForgetErrorInfo();

// A failure of `operation` with `hr`, explained by IErrorInfo or the system.
ComResult Failure(HRESULT hr, std::wstring operation);

// A failure of IDispatch::Invoke. Completes `info` (pfnDeferredFillIn) and
// frees its strings in every case, also when `hr` succeeded.
ComResult InvokeFailure(HRESULT hr, std::wstring operation, EXCEPINFO* info);

// Frees the strings of `info` and leaves it zeroed.
void ClearExcepInfo(EXCEPINFO* info);

}  // namespace traylume::detail

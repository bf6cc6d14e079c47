#pragma once
// Turning a failed HRESULT into a common::ComResult with the best explanation there
// is: the EXCEPINFO of IDispatch::Invoke, else the thread's IErrorInfo, else
// the system's text for the code.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "common/com_result.h"
#include "common/excep_info.h"

namespace component::detail {

// Drops error information left on this thread by earlier calls, so that the
// IErrorInfo read after a failure belongs to that failure.
void ForgetErrorInfo();

// A failure of `operation` with `hr`, explained by IErrorInfo or the system.
common::ComResult Failure(HRESULT hr, std::wstring operation);

// The outcome of IDispatch::Invoke: a failure explained by `info` (completed
// when the object deferred it), else IErrorInfo, else the system. The
// thread's IErrorInfo is consumed in every case, also on success.
common::ComResult InvokeFailure(HRESULT hr, std::wstring operation, common::UniqueExcepInfo& info);

}  // namespace component::detail

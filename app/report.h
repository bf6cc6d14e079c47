#pragma once
// The one path by which a failure reaches the user: one message box that
// says what failed, why, and the HRESULT.

#include <windows.h>

#include <functional>
#include <string>

#include "common/com_result.h"

namespace app {

// Shows a message box; tests put a recorder in its place.
using MessageBoxFunction =
    std::function<void(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;

// The platform's MessageBoxW.
void SystemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// The message for `failure`: heading, what failed, the reason, the code.
std::wstring FailureText(const common::ComResult& failure);

// Shows the message for `failure` through `messageBox` (MessageBoxW when empty).
void ShowFailure(const MessageBoxFunction& messageBox, HWND owner, const common::ComResult& failure);

}  // namespace app

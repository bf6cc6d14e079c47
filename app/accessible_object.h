#pragma once
// What a window of our own classes (a picture box, a frame) tells screen
// readers: the system's standard accessible object of its client area, with
// a name and a role of its own. The system's object knows nothing of what
// such a window is for, so alone it would be an unnamed "client".

#include <windows.h>

namespace app {

// The answer to WM_GETOBJECT for `window` (0 for anything but its client
// area, which the system then answers itself).
LRESULT AnswerGetObject(HWND window, WPARAM flags, LPARAM objectId, const wchar_t* name, long role);

}  // namespace app

#pragma once
// Running the calling thread's message loop for a while, as the program's
// user-interface thread would.

#include <windows.h>

#include <functional>

namespace support {

// Dispatches every message already queued, then returns.
void PumpPending();

// Pumps until `done` holds or `timeoutMs` has passed; the last answer of `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

}  // namespace support

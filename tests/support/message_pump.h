#pragma once
// Running the calling thread's message loop for a while, as the program's
// user-interface thread would.

#include <windows.h>

namespace support {

// Dispatches every message already queued, then returns.
void PumpPending();

}  // namespace support

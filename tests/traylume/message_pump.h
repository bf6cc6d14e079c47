#pragma once
// Delivering this thread's window messages while a test waits.

#include <windows.h>

#include <functional>

namespace traylume_tests {

// Dispatches messages until `done` answers true or `timeoutMs` passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// Dispatches every message already queued for this thread.
void PumpPending();

}  // namespace traylume_tests

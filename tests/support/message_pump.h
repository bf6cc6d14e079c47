#pragma once
// Letting a test's thread handle its messages for a while, or until what it
// waits for has happened: the way a test waits, never by sleeping blindly.

#include <windows.h>

#include <functional>

namespace testing_support {

// Dispatches every message already queued for this thread.
void PumpPending();

// Dispatches this thread's messages for `milliseconds`.
void PumpMessagesFor(DWORD milliseconds);

// Dispatches messages until `done()` is true (checked first, then after
// every wake-up) or `timeoutMilliseconds` pass. Whether `done()` came true.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 2000);

}  // namespace testing_support

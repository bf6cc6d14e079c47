#include "tests/support/message_pump.h"

namespace testing_support {

void PumpPending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMilliseconds;
  for (;;) {
    PumpPending();
    if (done && done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return false;
    // Wake on the next message, or at the latest after a short while: some
    // conditions change without a message to this thread.
    const DWORD wait = static_cast<DWORD>(end - now < 10 ? end - now : 10);
    ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpMessagesFor(DWORD milliseconds) { PumpUntil(nullptr, milliseconds); }

}  // namespace testing_support

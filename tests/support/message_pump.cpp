#include "tests/support/message_pump.h"

namespace support {

void PumpPending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  for (;;) {
    PumpPending();
    if (done && done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return done && done();
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now < 10 ? end - now : 10), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
  }
}

}  // namespace support

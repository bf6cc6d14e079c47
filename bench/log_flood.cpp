#include "bench/log_flood.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "bench/stopwatch.h"
#include "traylume/tray_window.h"

namespace bench {
namespace {

constexpr long kBatch = 256;             // callbacks posted between two looks at the log
constexpr long kMaxOutstanding = 4096;   // posted but not yet shown, like a shell that keeps posting
constexpr DWORD kAnswerTimeoutMs = 10000;
constexpr double kStallMs = 20000;       // no new line for this long: the program has given up
constexpr DWORD kProbeIntervalMs = 20;

// The log's line count; -1 when the program does not answer.
long LogCount(HWND log) {
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutW(log, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &count)) return -1;
  return static_cast<long>(count);
}

// One pointer move over the icon. A full queue refuses a post: wait for room.
bool PostPointerMove(HWND tray) {
  for (int attempt = 0; attempt < 5000; ++attempt) {
    if (::PostMessageW(tray, traylume::kCallbackMessage, traylume::kIconId, WM_MOUSEMOVE)) return true;
    if (!::IsWindow(tray)) return false;
    ::Sleep(1);
  }
  return false;
}

// Sends WM_NULL to a window again and again on a thread of its own and
// keeps the slowest answer.
class AnswerProbe {
 public:
  explicit AnswerProbe(HWND window) : thread_([this, window] { Run(window); }) {}
  AnswerProbe(const AnswerProbe&) = delete;
  AnswerProbe& operator=(const AnswerProbe&) = delete;
  ~AnswerProbe() { Stop(); }

  // The slowest answer in milliseconds.
  double Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return slowest_;
  }

 private:
  void Run(HWND window) {
    while (!stop_) {
      Stopwatch asked;
      DWORD_PTR answer = 0;
      ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &answer);
      slowest_ = std::max(slowest_, asked.Milliseconds());
      ::Sleep(kProbeIntervalMs);
    }
  }

  std::atomic<bool> stop_{false};
  double slowest_ = 0;
  std::thread thread_;  // last: starts once the rest exists
};

}  // namespace

FloodResult Flood(const FloodTarget& target, long lines, bool probeAnswers) {
  FloodResult result;
  const long base = LogCount(target.log);
  if (base < 0) return result;
  result.memoryBefore = target.process->PagefileUsage();
  std::optional<AnswerProbe> probe;
  if (probeAnswers) probe.emplace(target.window);

  Stopwatch clock;
  long posted = 0;
  long shown = 0;
  double lastProgressMs = 0;
  while (shown < lines) {
    if (posted < lines && posted - shown < kMaxOutstanding) {
      const long batch = std::min(kBatch, lines - posted);
      for (long i = 0; i < batch; ++i) {
        if (!PostPointerMove(target.tray)) return result;
      }
      posted += batch;
    } else {
      ::Sleep(1);
    }
    const long count = LogCount(target.log);
    if (count < 0) break;
    if (count - base > shown) {
      shown = count - base;
      lastProgressMs = clock.Milliseconds();
    }
    if (clock.Milliseconds() - lastProgressMs > kStallMs) break;
  }
  result.seconds = clock.Milliseconds() / 1000.0;
  result.lines = shown;
  if (probe) result.slowestAnswerMs = probe->Stop();
  result.memoryAfter = target.process->PagefileUsage();
  return result;
}

}  // namespace bench

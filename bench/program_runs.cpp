#include "bench/program_runs.h"

#include "app/control_ids.h"
#include "bench/stopwatch.h"
#include "bench/target_process.h"
#include "traylume/tray_window.h"

namespace bench {
namespace {

constexpr DWORD kReadyTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 30000;

}  // namespace

double MeasureReadyTime(const std::wstring& path) {
  TargetProcess target;
  Stopwatch clock;
  if (FAILED(target.Start(path))) return -1;
  HWND window = target.WaitUntilReady(kReadyTimeoutMs);
  const double ready = clock.Milliseconds();
  if (!window || target.Close(window, kCloseTimeoutMs) < 0) return -1;
  return ready;
}

LogRun MeasureLogRun(const std::wstring& path, long lines, bool probeAnswers) {
  LogRun run;
  TargetProcess target;
  if (FAILED(target.Start(path))) return run;
  HWND window = target.WaitUntilReady(kReadyTimeoutMs);
  HWND tray = target.FindWindowOfClass(traylume::kTrayWindowClass);
  HWND log = window ? ::GetDlgItem(window, app::IdOf(app::Ctl::lstEvent)) : nullptr;
  if (!window || !tray || !log) return run;
  run.flood = Flood({&target, window, tray, log}, lines, probeAnswers);
  run.closeMs = target.Close(window, kCloseTimeoutMs);
  run.ok = run.flood.lines == lines && run.closeMs >= 0;
  return run;
}

}  // namespace bench

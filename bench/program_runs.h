#pragma once
// One run of a benchmarked program in a fresh process: its ready time, or
// a flood of callbacks into its log and then its close.

#include <windows.h>

#include <string>

#include "bench/log_flood.h"

namespace bench {

// Milliseconds from starting `path` until it waits for input with a
// visible window; negative when it did not get there. The program is
// closed again afterwards.
double MeasureReadyTime(const std::wstring& path);

struct LogRun {
  bool ok = false;
  FloodResult flood;
  double closeMs = -1;  // from WM_CLOSE until the process ended
};

// Starts `path`, floods its log with `lines` lines once it is ready, then
// closes it.
LogRun MeasureLogRun(const std::wstring& path, long lines, bool probeAnswers);

}  // namespace bench

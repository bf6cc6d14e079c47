#pragma once
// Tray callbacks posted to a program's tray window the way the shell posts
// them (pointer moves, notify icon version 0), as fast as the program takes
// them, and the time until its log shows them all.

#include <windows.h>

#include "bench/target_process.h"

namespace bench {

struct FloodTarget {
  TargetProcess* process;
  HWND window;  // the main window, which a probe asks for answers
  HWND tray;    // where the callbacks go
  HWND log;     // the list box that counts them
};

struct FloodResult {
  long lines = 0;  // lines that reached the log
  double seconds = 0;
  SIZE_T memoryBefore = 0;
  SIZE_T memoryAfter = 0;
  double slowestAnswerMs = -1;  // the slowest WM_NULL answer, when probed

  double LinesPerSecond() const { return seconds > 0 ? lines / seconds : 0; }
  double BytesPerLine() const {
    return lines > 0 ? (static_cast<double>(memoryAfter) - static_cast<double>(memoryBefore)) / lines : 0;
  }
};

// Posts `lines` callbacks and waits until the log holds that many more
// lines (or stops growing for a while). With `probeAnswers`, another thread
// sends the main window WM_NULL every few milliseconds meanwhile and keeps
// the slowest answer.
FloodResult Flood(const FloodTarget& target, long lines, bool probeAnswers);

}  // namespace bench

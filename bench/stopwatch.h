#pragma once
// Elapsed time from the performance counter, in milliseconds.

#include <windows.h>

namespace bench {

class Stopwatch {
 public:
  Stopwatch() { Restart(); }
  void Restart() { ::QueryPerformanceCounter(&start_); }
  double Milliseconds() const {
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }
  // The time since the last lap (or the start), and a new lap begins.
  double Lap() {
    const double elapsed = Milliseconds();
    Restart();
    return elapsed;
  }

 private:
  LARGE_INTEGER start_{};
};

}  // namespace bench

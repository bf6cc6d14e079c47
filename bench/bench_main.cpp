// bench_driver [--quick]: the benchmarks of `make bench`, one table.
//
// Each figure is measured against its floor in the same run, the two
// sides alternating, so that the machine's noise falls on both:
// - event-to-log throughput and memory per line: TraylumeSample.exe with
//   the real control against log_floor.exe, a list box fed straight from
//   a hidden window;
// - the slowest answer to WM_NULL during the largest flood, and the close
//   with that many lines;
// - start-up to idle: TraylumeSample.exe against bare_window.exe, the same
//   controls and nothing else;
// - the size of the shipped files.
// --quick runs the small sizes only (for trying the driver itself);
// --startup only the start-up rows.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "contract/traylume_contract.h"
#include "bench/program_runs.h"
#include "bench/results_table.h"
#include "bench/shipped_file.h"
#include "common/module.h"
#include "common/unique_handle.h"

namespace {

struct Sides {
  std::wstring program;
  std::wstring floor;
};

struct LogSeries {
  LogSeries(long lineCount, int runCount) : lines(lineCount), runs(runCount) {}
  long lines;
  int runs;
  // Per side: all lines over all seconds, and each run's bytes per line.
  double programLines = 0, programSeconds = 0, floorLines = 0, floorSeconds = 0;
  std::vector<double> programBytes, floorBytes;
  bench::LogRun lastProgram, lastFloor;
  bool failed = false;

  double ProgramRate() const { return programSeconds > 0 ? programLines / programSeconds : 0; }
  double FloorRate() const { return floorSeconds > 0 ? floorLines / floorSeconds : 0; }
};

// The 1, 5 and 15 minute load of the machine (the Linux host under Wine).
std::string MachineLoad() {
  common::UniqueFileHandle file(::CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char text[128] = {};
  DWORD read = 0;
  if (!file || !::ReadFile(file.get(), text, sizeof(text) - 1, &read, nullptr)) return "unknown";
  std::string load(text, read);
  // "0.52 0.40 0.31 1/116 8295": the first three numbers.
  size_t end = 0;
  for (int field = 0; field < 3 && end != std::string::npos; ++field) end = load.find(' ', end + (field ? 1 : 0));
  return load.substr(0, end);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string PowerOfTen(long lines) {
  int exponent = 0;
  for (long n = lines; n >= 10; n /= 10) ++exponent;
  return "10^" + std::to_string(exponent);
}

void Progress(const char* what, long lines, int run, int runs) {
  std::fprintf(stderr, "bench: %s, %ld lines, run %d of %d\n", what, lines, run, runs);
}

void RunSeries(const Sides& sides, LogSeries* series) {
  const bool largest = series->lines >= 1000000;
  for (int run = 0; run < series->runs; ++run) {
    // Alternate which side goes first.
    for (int turn = 0; turn < 2; ++turn) {
      const bool program = (run + turn) % 2 == 0;
      Progress(program ? "program" : "floor", series->lines, run + 1, series->runs);
      const bench::LogRun result =
          bench::MeasureLogRun(program ? sides.program : sides.floor, series->lines, largest);
      if (!result.ok) series->failed = true;
      if (program) {
        series->programLines += result.flood.lines;
        series->programSeconds += result.flood.seconds;
        series->programBytes.push_back(result.flood.BytesPerLine());
        series->lastProgram = result;
      } else {
        series->floorLines += result.flood.lines;
        series->floorSeconds += result.flood.seconds;
        series->floorBytes.push_back(result.flood.BytesPerLine());
        series->lastFloor = result;
      }
    }
  }
}

bench::ResultRow Row(std::string figure, std::string program, std::string floor, std::string ratio,
                     std::string goal, std::optional<bool> met) {
  return {std::move(figure), std::move(program), std::move(floor), std::move(ratio), std::move(goal), met};
}

void AddLogRows(const std::vector<LogSeries>& series, std::vector<bench::ResultRow>* rows) {
  for (const LogSeries& one : series) {
    const double ratio = one.FloorRate() > 0 ? one.ProgramRate() / one.FloorRate() : 0;
    rows->push_back(Row("event-to-log lines/s, " + PowerOfTen(one.lines) + " lines (" + std::to_string(one.runs) +
                           (one.runs == 1 ? " run" : " runs") + " a side)" + (one.failed ? " INCOMPLETE" : ""),
                       bench::Whole(one.ProgramRate()), bench::Whole(one.FloorRate()), bench::Decimals(ratio, 2),
                       ">= 0.50", !one.failed && ratio >= 0.5));
  }
  const LogSeries& smallest = series.front();
  const LogSeries& largest = series.back();
  const double scaling = smallest.ProgramRate() > 0 ? largest.ProgramRate() / smallest.ProgramRate() : 0;
  const double floorScaling = smallest.FloorRate() > 0 ? largest.FloorRate() / smallest.FloorRate() : 0;
  rows->push_back(Row("lines/s at " + PowerOfTen(largest.lines) + " / at " + PowerOfTen(smallest.lines),
                     bench::Decimals(scaling, 2), bench::Decimals(floorScaling, 2), "", ">= 0.80",
                     !largest.failed && scaling >= 0.8));
  for (const LogSeries& one : series) {
    const double bytes = Median(one.programBytes);
    rows->push_back(Row("memory per line, " + PowerOfTen(one.lines) + " lines (bytes)", bench::Decimals(bytes, 1),
                       bench::Decimals(Median(one.floorBytes), 1), "", "<= 64", bytes <= 64));
  }
  const bool probed = largest.lastProgram.flood.slowestAnswerMs >= 0;
  if (probed) {
    const double slowest = largest.lastProgram.flood.slowestAnswerMs;
    rows->push_back(Row("slowest WM_NULL answer during " + PowerOfTen(largest.lines) + " lines (ms)",
                       bench::Decimals(slowest, 1), bench::Decimals(largest.lastFloor.flood.slowestAnswerMs, 1), "",
                       "<= 100", slowest <= 100));
  }
  const double closeMs = largest.lastProgram.closeMs;
  rows->push_back(Row("close with " + PowerOfTen(largest.lines) + " lines in the log (ms)", bench::Whole(closeMs),
                     bench::Whole(largest.lastFloor.closeMs), "", "<= 1,000", closeMs >= 0 && closeMs <= 1000));
}

bool ControlRegistered() {
  CLSID clsid{};
  const HRESULT initialized = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const bool found = SUCCEEDED(::CLSIDFromProgID(contract::kProgId, &clsid));
  if (SUCCEEDED(initialized)) ::CoUninitialize();
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool quick = argc > 1 && std::wcscmp(argv[1], L"--quick") == 0;
  const bool startupOnly = argc > 1 && std::wcscmp(argv[1], L"--startup") == 0;
  const std::wstring folder = common::FolderOf(common::ModulePath(nullptr));
  const Sides logSides{folder + L"\\TraylumeSample.exe", folder + L"\\log_floor.exe"};
  const Sides startSides{folder + L"\\TraylumeSample.exe", folder + L"\\bare_window.exe"};
  const std::string loadBefore = MachineLoad();

  std::vector<LogSeries> series;
  if (quick) {
    series = {{1000, 2}, {10000, 1}};
  } else {
    series = {{1000, 4}, {10000, 3}, {100000, 2}, {1000000, 1}};
  }
  if (startupOnly) series.clear();
  for (LogSeries& one : series) RunSeries(logSides, &one);

  const int startRuns = quick ? 3 : 21;
  std::vector<double> programReady, bareReady;
  // One start of each, not counted: the first start after a pause reads
  // its files from disk.
  bench::MeasureReadyTime(startSides.program);
  bench::MeasureReadyTime(startSides.floor);
  for (int run = 0; run < startRuns; ++run) {
    std::fprintf(stderr, "bench: start-up, run %d of %d\n", run + 1, startRuns);
    for (int turn = 0; turn < 2; ++turn) {
      const bool program = (run + turn) % 2 == 0;
      const double ready = bench::MeasureReadyTime(program ? startSides.program : startSides.floor);
      (program ? programReady : bareReady).push_back(ready);
    }
  }

  const bench::ShippedFile exe = bench::InspectShippedFile(folder + L"\\TraylumeSample.exe");
  const bench::ShippedFile ocx = bench::InspectShippedFile(folder + L"\\Traylume.ocx");
  const std::string loadAfter = MachineLoad();

  std::vector<bench::ResultRow> rows;
  if (!series.empty()) AddLogRows(series, &rows);

  const bool startFailed = std::any_of(programReady.begin(), programReady.end(), [](double t) { return t < 0; }) ||
                           std::any_of(bareReady.begin(), bareReady.end(), [](double t) { return t < 0; });
  // Load comes and goes within seconds: each program start is compared
  // with the bare window's start next to it, and the median of those
  // ratios taken.
  std::vector<double> pairRatios;
  for (size_t i = 0; i < programReady.size() && i < bareReady.size(); ++i) {
    if (bareReady[i] > 0) pairRatios.push_back(programReady[i] / bareReady[i]);
  }
  const double startRatio = Median(pairRatios);
  rows.push_back(Row("start-up to idle, medians of " + std::to_string(startRuns) + " pairs (ms; floor: bare window)" +
                         (startFailed ? " FAILED" : ""),
                     bench::Whole(Median(programReady)), bench::Whole(Median(bareReady)),
                     bench::Decimals(startRatio, 2), "<= 1.10", !startFailed && startRatio <= 1.1));
  const double shippedKiB = static_cast<double>(exe.bytes + ocx.bytes) / 1024.0;
  const bool stripped = exe.stripped && ocx.stripped;
  rows.push_back(Row(std::string("exe + ocx as built (KiB") + (stripped ? ", no debug sections)" : ", NOT STRIPPED)"),
                     bench::Whole(shippedKiB), "", "", "< 1,024",
                     exe.bytes > 0 && ocx.bytes > 0 && stripped && shippedKiB < 1024));

  const std::string arch = sizeof(void*) == 4 ? "i686" : "x86_64";
  bench::PrintTable("Traylume benchmarks (" + arch + (quick ? ", quick" : "") + ")",
                    {"machine load (1/5/15 min): " + loadBefore + " at the start, " + loadAfter + " at the end",
                     std::string("control: ") + (ControlRegistered() ? "registered" : "not registered, found beside the program"),
                     "program: TraylumeSample.exe with Traylume.ocx; floor: log_floor.exe for the log rows, "
                     "bare_window.exe for start-up"},
                    rows);
  return 0;
}

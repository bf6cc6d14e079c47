#include "bench/results_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {

std::string Whole(double value) {
  if (!std::isfinite(value)) return "-";
  const long long rounded = std::llround(value);
  std::string digits = std::to_string(rounded < 0 ? -rounded : rounded);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
  return rounded < 0 ? "-" + digits : digits;
}

std::string Decimals(double value, int decimals) {
  if (!std::isfinite(value)) return "-";
  char text[64];
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  return text;
}

void PrintTable(const std::string& title, const std::vector<std::string>& notes, const std::vector<ResultRow>& rows) {
  size_t figureWidth = 6;
  for (const ResultRow& row : rows) figureWidth = std::max(figureWidth, row.figure.size());
  const int width = static_cast<int>(figureWidth);
  std::printf("%s\n", title.c_str());
  for (const std::string& note : notes) std::printf("  %s\n", note.c_str());
  std::printf("\n%-*s  %12s  %12s  %7s  %10s  %s\n", width, "figure", "program", "floor", "ratio", "goal", "result");
  std::printf("%s\n", std::string(figureWidth + 60, '-').c_str());
  for (const ResultRow& row : rows) {
    const char* result = !row.met ? "" : *row.met ? "pass" : "MISS";
    std::printf("%-*s  %12s  %12s  %7s  %10s  %s\n", width, row.figure.c_str(), row.program.c_str(),
                row.floor.c_str(), row.ratio.c_str(), row.goal.c_str(), result);
  }
  std::fflush(stdout);
}

}  // namespace bench

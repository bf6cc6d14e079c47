#pragma once
// The one table `make bench` prints: a row per figure, with both sides,
// their ratio where there is one, the goal and whether it was met.

#include <optional>
#include <string>
#include <vector>

namespace bench {

struct ResultRow {
  std::string figure;
  std::string program;  // the measured side
  std::string floor;    // the reference side, measured in the same run
  std::string ratio;
  std::string goal;
  std::optional<bool> met;  // empty: no goal for this row
};

// "12,345" style numbers, and a fixed number of decimals.
std::string Whole(double value);
std::string Decimals(double value, int decimals);

void PrintTable(const std::string& title, const std::vector<std::string>& notes, const std::vector<ResultRow>& rows);

}  // namespace bench

#pragma once
// The reference's sources as the tests read them, where they are in the
// source tree (TRAYLUME_SOURCE_DIR; a Unix path is reached through Wine's Z:).

#include <string>
#include <vector>

#include "tests/support/program.h"

namespace traylume_tests {

// `relative` below the source tree, as this process names it.
inline std::string SourcePath(const std::string& relative) {
  std::string path = TRAYLUME_SOURCE_DIR "/" + relative;
  if (path[0] == '/') path = "Z:" + path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

// The languages of the reference, and the lines of docs/reference.<language>.md.
inline const char* const kLanguages[] = {"ja", "en"};
inline std::vector<std::string> ReferenceLines(const std::string& language) {
  return support::FileLines(SourcePath("docs/reference." + language + ".md"));
}

// The lines of the fenced block whose attributes carry `#id`.
inline std::vector<std::string> FencedBlock(const std::vector<std::string>& lines, const std::string& id) {
  std::vector<std::string> block;
  bool inside = false;
  for (const std::string& line : lines) {
    if (inside && line == "```") return block;
    if (inside) block.push_back(line);
    if (!inside && line.rfind("```", 0) == 0 && line.find("#" + id + " ") != std::string::npos) inside = true;
  }
  return {};
}

}  // namespace traylume_tests

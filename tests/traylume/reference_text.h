#pragma once
// The reference's sources and pages as the tests read them. The build
// passes their folders in (TRAYLUME_SOURCE_DIR, TRAYLUME_PAGE_DIR); a folder
// given as a Unix path is reached through Wine's drive Z:.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace traylume_tests {

inline std::string HostPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// `relative` below the source tree, as this process names it.
inline std::string SourcePath(const std::string& relative) { return HostPath(TRAYLUME_SOURCE_DIR "/" + relative); }

inline std::string ReadFileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The text's lines, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The languages of the reference: docs/reference.<language>.md.
inline const char* const kLanguages[] = {"ja", "en"};

inline std::string ReferenceSource(const std::string& language) {
  return ReadFileText(SourcePath("docs/reference." + language + ".md"));
}

// The lines of the fenced block whose attributes carry `#id`.
inline std::vector<std::string> FencedBlock(const std::string& text, const std::string& id) {
  std::vector<std::string> block;
  bool inside = false;
  for (const std::string& line : Lines(text)) {
    if (inside && line == "```") return block;
    if (inside) block.push_back(line);
    if (!inside && line.rfind("```", 0) == 0 && line.find("#" + id + " ") != std::string::npos) inside = true;
  }
  return {};
}

}  // namespace traylume_tests

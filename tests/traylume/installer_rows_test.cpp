// The installer's registry rows (tools/installer/control_registry.wxi) are
// the rows the control's own DllRegisterServer writes and
// DllUnregisterServer removes, read from the control's registry table
// without installing anything. The values of the installer's variables
// come from its package source and from the product.wxi the build made.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "common/text.h"
#include "traylume/registry_table.h"

namespace traylume_tests {
namespace {

// A file of the source or build tree (a Unix path through Wine's Z:).
std::string TreeFile(const std::string& path) {
  std::ifstream file(path[0] == '/' ? "Z:" + path : path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_FALSE(text.str().empty()) << path;
  return text.str();
}

// Where the installer puts each control: left as the installer's own
// references, which only the package fills in.
const traylume::RegistryPlace kInstalledPlace{L"[#$(var.ControlFile)]", L"[$(var.ControlFolder)]",
                                              L"$(var.TypeLibPlatform)"};

// The rows of control_registry.wxi, each as "HKCR\key | name | value",
// and the keys its "*" rows remove with all below them.
struct InstallerRows {
  std::set<std::string> rows;
  std::set<std::string> removedKeys;
};

InstallerRows ReadInstallerRows() {
  std::map<std::string, std::string> variables;
  const std::regex define(R"re(<\?define\s+(\w+)\s*=\s*"([^"]*)"\s*\?>)re");
  for (const std::string& source : {TreeFile(TRAYLUME_BINARY_DIR "/installer/product.wxi"),
                                    TreeFile(TRAYLUME_SOURCE_DIR "/tools/installer/TraylumeSample.wxs")}) {
    for (std::sregex_iterator at(source.begin(), source.end(), define), end; at != end; ++at) {
      variables.emplace((*at)[1].str(), (*at)[2].str());  // the first definition of each
    }
  }
  for (const char* place : {"ControlFile", "ControlFolder", "TypeLibPlatform"}) variables.erase(place);
  auto fill = [&](std::string text) {
    for (const auto& [name, value] : variables) {
      const std::string reference = "$(var." + name + ")";
      for (size_t at = text.find(reference); at != std::string::npos; at = text.find(reference)) {
        text.replace(at, reference.size(), value);
      }
    }
    return text;
  };

  const std::string wxi = std::regex_replace(TreeFile(TRAYLUME_SOURCE_DIR "/tools/installer/control_registry.wxi"),
                                             std::regex("<!--[\\s\\S]*?-->"), "");
  const std::regex element(R"re(<(/?)(RegistryKey|RegistryValue)\b([^>]*?)(/?)>)re");
  const std::regex attribute(R"re((\w+)="([^"]*)")re");
  InstallerRows found;
  std::string parentKey;
  for (std::sregex_iterator at(wxi.begin(), wxi.end(), element), end; at != end; ++at) {
    const std::string attributes = (*at)[3];
    std::map<std::string, std::string> attr;
    for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
      attr[(*a)[1].str()] = fill((*a)[2].str());
    }
    if ((*at)[2] == "RegistryKey") {
      parentKey = (*at)[1] == "/" ? "" : attr["Root"] + "\\" + attr["Key"];
      continue;
    }
    const std::string key = attr.count("Key") ? attr["Root"] + "\\" + attr["Key"] : parentKey;
    const std::string name = attr.count("Name") ? attr["Name"] : "(default)";
    if (name == "*") {
      found.removedKeys.insert(key);
    } else if (name == "+") {
      found.rows.insert(key + " | (key only)");
    } else {
      found.rows.insert(key + " | " + name + " | " + attr["Value"]);
    }
  }
  return found;
}

// A text of the control's table as it reads for an installed control.
std::string Installed(const wchar_t* text) { return common::Utf8(traylume::ExpandRegistryText(text, kInstalledPlace)); }

TEST(InstallerRows, AreTheValuesTheControlRegisters) {
  std::set<std::string> registered;
  for (const traylume::RegistryRow& row : traylume::RegistryRows(kInstalledPlace)) {
    const std::string key = "HKCR\\" + common::Utf8(row.key);
    const std::string name = row.name ? common::Utf8(row.name) : "(default)";
    registered.insert(row.value ? key + " | " + name + " | " + common::Utf8(*row.value) : key + " | (key only)");
  }
  EXPECT_EQ(ReadInstallerRows().rows, registered);
}

TEST(InstallerRows, RemoveTheKeysTheControlRemoves) {
  std::set<std::string> removed{"HKCR\\" + Installed(traylume::kTypeLibKey)};
  for (const wchar_t* key : traylume::kOwnedKeys) removed.insert("HKCR\\" + Installed(key));
  for (const wchar_t* key : traylume::kProgIdKeys) removed.insert("HKCR\\" + Installed(key));
  EXPECT_EQ(ReadInstallerRows().removedKeys, removed);
}

}  // namespace
}  // namespace traylume_tests

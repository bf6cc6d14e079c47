// The reference's member and event tables, as the built pages show them:
// each row's DISPID and access cells say what the control's own type
// library says of that member or event.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/bstr.h"
#include "common/text.h"
#include "tests/support/com_test.h"
#include "tests/support/control_server.h"
#include "tests/support/program.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

// The text of each cell of each table row of `page` whose first cell links
// to #member-NAME or #event-NAME, by "member-NAME" or "event-NAME".
std::map<std::string, std::vector<std::string>> RowsOf(const std::string& page) {
  std::map<std::string, std::vector<std::string>> rows;
  for (size_t row = page.find("<tr"); row != std::string::npos; row = page.find("<tr", row + 1)) {
    const size_t end = page.find("</tr>", row);
    std::vector<std::string> cells;
    for (size_t cell = page.find("<td", row); cell < end; cell = page.find("<td", cell + 1)) {
      const size_t from = page.find('>', cell) + 1;
      cells.push_back(page.substr(from, page.find("</td>", from) - from));
    }
    const size_t link = cells.empty() ? std::string::npos : cells[0].find("href=\"#");
    if (link == std::string::npos) continue;
    const size_t name = link + 7;
    rows[cells[0].substr(name, cells[0].find('"', name) - name)] = cells;
  }
  return rows;
}

// The DISPID and access cells the type information `info` gives each of its
// functions: "0x68030001" and "get, put", as "member-NAME" (or "event-NAME").
std::map<std::string, std::vector<std::string>> DeclaredIn(ITypeInfo* info, const std::string& kind) {
  std::map<std::string, std::vector<std::string>> declared;
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return declared;
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    common::UniqueBstr name;
    info->GetDocumentation(function->memid, name.put(), nullptr, nullptr, nullptr);
    const char* access = kind == "event" ? "event"
                         : function->invkind == INVOKE_PROPERTYGET    ? "get"
                         : function->invkind == INVOKE_PROPERTYPUT    ? "put"
                         : function->invkind == INVOKE_PROPERTYPUTREF ? "putref"
                                                                      : "method";
    char id[16];
    std::snprintf(id, sizeof(id), "0x%08lX", static_cast<unsigned long>(function->memid));
    std::vector<std::string>& cells = declared[kind + "-" + common::Utf8(name.str())];
    if (cells.empty()) cells = {id, access};
    else cells[1] += std::string(", ") + access;
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  return declared;
}

using ReferenceTest = support::ComTest;

TEST_F(ReferenceTest, EachMemberRowShowsTheDispidAndAccessOfTheTypeLibrary) {
#ifndef TRAYLUME_DOCS_DIR
  // tools/setup.sh installs pandoc: a build without the pages is a build fault.
  FAIL() << "the reference pages were not built (pandoc was not found)";
#else
  common::ComPtr<ITypeLib> library;
  common::ComPtr<ITypeInfo> members;
  common::ComPtr<ITypeInfo> events;
  ASSERT_EQ(::LoadTypeLibEx(support::ControlPath().c_str(), REGKIND_NONE, library.put()), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylume, members.put()), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylumeEvents, events.put()), S_OK);
  std::map<std::string, std::vector<std::string>> declared = DeclaredIn(members.get(), "member");
  declared.merge(DeclaredIn(events.get(), "event"));
  for (const char* language : {"ja", "en"}) {
    const std::string path = TRAYLUME_DOCS_DIR "/reference." + std::string(language) + ".html";
    std::string page;
    for (const std::string& line : support::FileLines(path[0] == '/' ? "Z:" + path : path)) page += line + "\n";
    const auto rows = RowsOf(page);
    ASSERT_FALSE(rows.empty()) << path;
    EXPECT_EQ(rows.size(), declared.size()) << language;
    for (const auto& [name, cells] : declared) {
      const auto row = rows.find(name);
      ASSERT_NE(row, rows.end()) << language << " has no row for " << name;
      ASSERT_GE(row->second.size(), 4u) << language << " " << name;
      EXPECT_EQ(row->second[1], cells[0]) << language << " " << name;
      EXPECT_EQ(row->second[3], cells[1]) << language << " " << name;
    }
  }
#endif
}

}  // namespace
}  // namespace traylume_tests

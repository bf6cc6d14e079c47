// The reference against what it describes: every member and event of the
// type library in Traylume.ocx has its row in both languages, with the same
// dispatch id, type, way of calling and help text, and no row names
// anything else; and the pages made from it link only within themselves.

#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "common/bstr.h"
#include "common/com_ptr.h"
#include "tests/support/control_server.h"
#include "tests/traylume/reference_text.h"

namespace traylume_tests {
namespace {

// A member as one row of the reference's member tables shows it.
struct MemberRow {
  std::string dispid, type, access, help;
  bool operator==(const MemberRow& other) const {
    return dispid == other.dispid && type == other.type && access == other.access && help == other.help;
  }
};

void PrintTo(const MemberRow& row, std::ostream* out) {
  *out << row.dispid << " | " << row.type << " | " << row.access << " | " << row.help;
}

std::string Utf8(BSTR text) {
  if (!text) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The cells of a table row ("| a | b |"); none for other lines.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  if (line.size() < 2 || line.front() != '|' || line.back() != '|') return cells;
  std::istringstream in(line.substr(1, line.size() - 2));
  for (std::string cell; std::getline(in, cell, '|');) cells.push_back(Trim(cell));
  return cells;
}

// The text between the first pair of backticks.
std::string Quoted(const std::string& cell) {
  const size_t open = cell.find('`'), close = cell.find('`', open + 1);
  return close == std::string::npos ? std::string() : cell.substr(open + 1, close - open - 1);
}

// Member rows: six cells, the second a dispatch id of eight hex digits.
std::map<std::string, MemberRow> MemberRows(const std::string& reference) {
  static const std::regex kDispid("0x[0-9A-F]{8}");
  std::map<std::string, MemberRow> rows;
  for (const std::string& line : Lines(reference)) {
    const std::vector<std::string> cells = Cells(line);
    if (cells.size() != 6 || !std::regex_match(cells[1], kDispid)) continue;
    EXPECT_TRUE(rows.emplace(Quoted(cells[0]), MemberRow{cells[1], cells[2], cells[3], cells[5]}).second)
        << "two rows for " << cells[0];
  }
  return rows;
}

std::string TypeName(ITypeInfo* info, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_BSTR: return "BSTR";
    case VT_I4: return "long";
    case VT_I2: return "short";
    case VT_VOID: return "void";
    case VT_PTR: return TypeName(info, *type.lptdesc) + "*";
    case VT_USERDEFINED: {
      common::ComPtr<ITypeInfo> named;
      common::UniqueBstr name;
      if (SUCCEEDED(info->GetRefTypeInfo(type.hreftype, named.put()))) {
        named->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
      }
      return Utf8(name.get());
    }
    default: return "VT_" + std::to_string(type.vt);
  }
}

// The members of the dispinterface `iid` in the control's type library, as
// the reference's rows would show them.
void AddMembers(ITypeLib* library, REFIID iid, bool events, std::map<std::string, MemberRow>* members) {
  common::ComPtr<ITypeInfo> info;
  ASSERT_EQ(library->GetTypeInfoOfGuid(iid, info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  const WORD count = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  std::map<std::string, std::set<INVOKEKIND>> kinds;
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    common::UniqueBstr name, help;
    info->GetDocumentation(function->memid, name.put(), help.put(), nullptr, nullptr);
    MemberRow& row = (*members)[Utf8(name.get())];
    char dispid[16];
    std::snprintf(dispid, sizeof(dispid), "0x%08lX", static_cast<unsigned long>(function->memid));
    row.dispid = dispid;
    row.help = Utf8(help.get());
    kinds[Utf8(name.get())].insert(function->invkind);
    if (function->invkind == INVOKE_PROPERTYGET) {
      row.type = TypeName(info.get(), function->elemdescFunc.tdesc);
    } else if (function->invkind == INVOKE_FUNC) {
      BSTR names[8] = {};
      UINT named = 0;
      info->GetNames(function->memid, names, 8, &named);
      row.type = "(";
      for (SHORT p = 0; p < function->cParams; ++p) {
        row.type += (p ? ", " : "") + TypeName(info.get(), function->lprgelemdescParam[p].tdesc) + " " +
                    (p + 1u < named ? Utf8(names[p + 1]) : "");
      }
      row.type += ")";
      for (UINT n = 0; n < named; ++n) ::SysFreeString(names[n]);
    }
    info->ReleaseFuncDesc(function);
  }
  for (const auto& [name, invoked] : kinds) {
    std::string& access = (*members)[name].access;
    if (invoked.count(INVOKE_FUNC)) access = events ? "event" : "method";
    for (const auto& [kind, word] : {std::pair{INVOKE_PROPERTYGET, "get"}, std::pair{INVOKE_PROPERTYPUT, "put"},
                                     std::pair{INVOKE_PROPERTYPUTREF, "putref"}}) {
      if (invoked.count(kind)) access += (access.empty() ? "" : ", ") + std::string(word);
    }
  }
}

TEST(Reference, ShowsEveryMemberAndEventAsTheTypeLibraryDeclaresIt) {
  common::ComPtr<ITypeLib> library;
  ASSERT_EQ(::LoadTypeLibEx(support::ControlPath().c_str(), REGKIND_NONE, library.put()), S_OK);
  std::map<std::string, MemberRow> members;
  AddMembers(library.get(), DIID_ITraylume, false, &members);
  AddMembers(library.get(), DIID_ITraylumeEvents, true, &members);
  ASSERT_FALSE(members.empty());

  for (const char* language : kLanguages) {
    SCOPED_TRACE(std::string("reference.") + language + ".md");
    const std::map<std::string, MemberRow> rows = MemberRows(ReferenceSource(language));
    for (const auto& [name, member] : members) {
      EXPECT_FALSE(member.help.empty()) << name << " has no help string in the type library";
      const auto row = rows.find(name);
      if (row == rows.end()) {
        ADD_FAILURE() << name << " has no row";
      } else {
        EXPECT_EQ(row->second, member) << name;
      }
    }
    for (const auto& [name, row] : rows) EXPECT_EQ(members.count(name), 1u) << name << " is not in the type library";
  }
}

// Every href and src points at an element of the same page; nothing names
// a place on the network.
TEST(Reference, PagesLinkOnlyWithinThemselves) {
#ifndef TRAYLUME_PAGE_DIR
  GTEST_SKIP() << "the pages were not built (no pandoc)";
#else
  static const std::regex kId("\\bid=\"([^\"]*)\"");
  static const std::regex kReference("\\b(href|src)=\"([^\"]*)\"");
  for (const char* language : kLanguages) {
    const std::string page = ReadFileText(HostPath(TRAYLUME_PAGE_DIR "/reference." + std::string(language) + ".html"));
    SCOPED_TRACE(std::string("reference.") + language + ".html");
    ASSERT_NE(page.find("<html lang=\"" + std::string(language) + "\">"), std::string::npos);
    EXPECT_EQ(page.find("http:"), std::string::npos);
    EXPECT_EQ(page.find("https:"), std::string::npos);
    EXPECT_EQ(page.find("@import"), std::string::npos);
    EXPECT_EQ(page.find("url("), std::string::npos);
    std::set<std::string> ids;
    for (std::sregex_iterator at(page.begin(), page.end(), kId), end; at != end; ++at) ids.insert((*at)[1]);
    int internal = 0;
    for (std::sregex_iterator at(page.begin(), page.end(), kReference), end; at != end; ++at) {
      const std::string target = (*at)[2];
      EXPECT_TRUE(target.size() > 1 && target[0] == '#' && ids.count(target.substr(1)))
          << (*at)[1] << "=\"" << target << "\" leads nowhere on the page";
      ++internal;
    }
    EXPECT_GT(internal, 0);
  }
#endif
}

}  // namespace
}  // namespace traylume_tests

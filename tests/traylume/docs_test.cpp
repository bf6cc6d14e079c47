// The reference against what it describes: every member and event of the
// type library in Traylume.ocx has its row in both languages, with the same
// dispatch id, type, way of calling and help text, and no row names anything
// else; the control answers each member's name, in any case, with that id.
// (The pages made from the reference are checked when they are built.)

#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>

#include "common/bstr.h"
#include "common/com_ptr.h"
#include "common/text.h"
#include "tests/support/control_server.h"
#include "tests/traylume/control_test.h"
#include "tests/traylume/reference_text.h"

namespace traylume_tests {
namespace {

std::string TypeName(ITypeInfo* info, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_BSTR: return "BSTR";
    case VT_I4: return "long";
    case VT_I2: return "short";
    case VT_PTR: return TypeName(info, *type.lptdesc) + "*";
    case VT_USERDEFINED: {
      common::ComPtr<ITypeInfo> named;
      common::UniqueBstr name;
      if (SUCCEEDED(info->GetRefTypeInfo(type.hreftype, named.put()))) {
        named->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
      }
      return common::Utf8(name.str());
    }
    default: return "VT_" + std::to_string(type.vt);
  }
}

// The members of dispinterface `iid` as the reference's rows show them:
// name -> "dispid | type | access | help".
void AddMembers(ITypeLib* library, REFIID iid, const char* method, std::map<std::string, std::string>* rows,
                std::map<std::string, DISPID>* ids) {
  common::ComPtr<ITypeInfo> info;
  ASSERT_EQ(library->GetTypeInfoOfGuid(iid, info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  const WORD count = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  std::map<std::string, std::string> types, access, help;
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    common::UniqueBstr name, text;
    info->GetDocumentation(function->memid, name.put(), text.put(), nullptr, nullptr);
    const std::string key = common::Utf8(name.str());
    (*ids)[key] = function->memid;
    help[key] = common::Utf8(text.str());
    const char* const kKinds[] = {"", method, "get", "", "put", "", "", "", "putref"};
    access[key] += (access[key].empty() ? "" : ", ") + std::string(kKinds[function->invkind]);
    if (function->invkind == INVOKE_PROPERTYGET) types[key] = TypeName(info.get(), function->elemdescFunc.tdesc);
    if (function->invkind == INVOKE_FUNC) {
      BSTR names[2] = {};
      UINT named = 0;
      info->GetNames(function->memid, names, 2, &named);
      types[key] = function->cParams == 0 ? "()"
                   : "(" + TypeName(info.get(), function->lprgelemdescParam[0].tdesc) + " " +
                         common::Utf8(names[1] ? names[1] : L"") + ")";
      for (BSTR each : names) ::SysFreeString(each);
    }
    info->ReleaseFuncDesc(function);
  }
  for (const auto& [name, id] : *ids) {
    if (!types.count(name)) continue;
    char dispid[16];
    std::snprintf(dispid, sizeof(dispid), "0x%08lX", static_cast<unsigned long>(id));
    (*rows)[name] = std::string(dispid) + " | " + types[name] + " | " + access[name] + " | " + help[name];
  }
}

TEST_F(ControlTest, TheReferenceShowsEveryMemberAndEventAsTheTypeLibraryAndTheControlDo) {
  common::ComPtr<ITypeLib> library;
  ASSERT_EQ(::LoadTypeLibEx(support::ControlPath().c_str(), REGKIND_NONE, library.put()), S_OK);
  std::map<std::string, std::string> members;
  std::map<std::string, DISPID> memberIds, eventIds;
  AddMembers(library.get(), DIID_ITraylume, "method", &members, &memberIds);
  AddMembers(library.get(), DIID_ITraylumeEvents, "event", &members, &eventIds);
  ASSERT_EQ(members.size(), memberIds.size() + eventIds.size());
  for (const auto& [name, id] : memberIds) {
    std::wstring lower(name.begin(), name.end());  // scripting clients ask without regard to case
    for (auto& c : lower) c = static_cast<wchar_t>(::towlower(c));
    LPOLESTR asked[] = {lower.data()};
    DISPID answered = DISPID_UNKNOWN;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, asked, 1, 0, &answered), S_OK) << name;
    EXPECT_EQ(answered, id) << name;
  }
  // A member row: | [`Name`](#anchor) | 0xDISPID | type | access | default | help |
  static const std::regex kRow(R"(\| \[?`(\w+)`[^|]* \| (0x[0-9A-F]{8} \| [^|]* \| [^|]*) \| [^|]* \| ([^|]*) \|)");
  for (const char* language : kLanguages) {
    SCOPED_TRACE(std::string("reference.") + language + ".md");
    std::map<std::string, std::string> rows;
    for (const std::string& line : ReferenceLines(language)) {
      std::smatch row;
      if (!std::regex_match(line, row, kRow)) continue;
      EXPECT_TRUE(rows.emplace(row[1], row[2].str() + " | " + row[3].str()).second) << "two rows for " << row[1];
    }
    EXPECT_EQ(rows, members);
  }
}

}  // namespace
}  // namespace traylume_tests

// The control's automation members: values in and out with their types,
// their names, and every refusal, leaving the control as it was.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "common/bstr.h"
#include "common/text.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;
using MembersTest = ControlTest;

TEST_F(MembersTest, EachPropertyKeepsWhatItIsGivenInItsOwnType) {
  common::UniqueBstr body(L"本文\r\n二行目");
  common::UniqueBstr title(L"題");
  common::UniqueBstr tip(L"ヒント");
  VARIANT cTrue = Value(VT_BOOL);
  V_BOOL(&cTrue) = 1;  // TRUE as C and C++ clients write it: true, as automation converts it
  const struct {
    DISPID id;
    VARIANT value;
    const wchar_t* shown;
  } cases[] = {
      {dispid::kBalloonText, Text(body.get()), L"VT_BSTR 本文\r\n二行目"}, {dispid::kAutoRefresh, Bool(true), L"VT_BOOL -1"},
      {dispid::kBalloonSound, Bool(false), L"VT_BOOL 0"},      {dispid::kBalloonSound, cTrue, L"VT_BOOL -1"},
      {dispid::kBalloon, Bool(true), L"VT_BOOL -1"},
      {dispid::kBalloonTitle, Text(title.get()), L"VT_BSTR 題"}, {dispid::kToolTipText, Text(tip.get()), L"VT_BSTR ヒント"},
      {dispid::kBalloonIcon, I4(3), L"VT_I4 3"},               {dispid::kBalloonIcon, I4(70000), L"VT_I4 70000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Put(control.get(), c.id, c.value).hr, S_OK) << c.shown;
    EXPECT_EQ(Shown(control.get(), c.id), c.shown);
  }
  EXPECT_EQ(Shown(control.get(), dispid::kBalloonSupported), L"VT_BOOL -1");
  EXPECT_TRUE(shell.calls.empty()) << "nothing reaches the shell before the icon is shown";
}

TEST_F(MembersTest, CallsThatDoNotFitAMemberAreRefusedAndChangeNothing) {
  common::UniqueBstr words(L"words");
  const auto before = State(control.get());
  constexpr WORD kGet = DISPATCH_PROPERTYGET;
  constexpr WORD kPut = DISPATCH_PROPERTYPUT;
  constexpr WORD kPutRef = DISPATCH_PROPERTYPUTREF;
  constexpr WORD kMethod = DISPATCH_METHOD;
  constexpr DISPID kValue = DISPID_PROPERTYPUT;
  const struct {
    const char* name;
    DISPID id;
    WORD flags;
    std::vector<VARIANT> arguments;
    std::optional<DISPID> named;
    HRESULT expected;
    UINT argError;
  } cases[] = {
      {"no such member", 0x1234, kGet, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u},
      {"read-only", dispid::kBalloonSupported, kPut, {Bool(false)}, kValue, DISP_E_MEMBERNOTFOUND, ~0u},
      {"text by reference", dispid::kToolTipText, kPutRef, {Text(words.get())}, kValue, DISP_E_MEMBERNOTFOUND, ~0u},
      {"get with an argument", dispid::kToolTipText, kGet, {I4(1)}, {}, DISP_E_BADPARAMCOUNT, ~0u},
      {"method with an argument", dispid::kShowIcon, kMethod, {I4(1)}, {}, DISP_E_BADPARAMCOUNT, ~0u},
      {"method with a named one", dispid::kRefresh, kMethod, {I4(1)}, 5, DISP_E_NONAMEDARGS, ~0u},
      {"get of a method", dispid::kHideIcon, kGet, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u},
      {"put under another name", dispid::kToolTipText, kPut, {Text(words.get())}, 3, DISP_E_PARAMNOTFOUND, 0},
      {"text for a number", dispid::kBalloonIcon, kPut, {Text(words.get())}, kValue, DISP_E_TYPEMISMATCH, 0},
      {"number for a picture", dispid::kIcon, kPutRef, {I4(1)}, kValue, DISP_E_TYPEMISMATCH, 0},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Invoke(control.get(), c.id, c.flags, c.arguments, c.named);
    EXPECT_EQ(outcome.hr, c.expected) << c.name;
    EXPECT_EQ(outcome.argError, c.argError) << c.name;
    EXPECT_EQ(State(control.get()), before) << c.name;
  }
  DISPPARAMS none{};
  EXPECT_EQ(control->Invoke(dispid::kShowIcon, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  DISPPARAMS lying{nullptr, nullptr, 1, 0};
  EXPECT_EQ(control->Invoke(dispid::kToolTipText, IID_NULL, 0, DISPATCH_PROPERTYPUT, &lying, nullptr, nullptr,
                            nullptr),
            E_INVALIDARG);
}

using NamedIds = std::set<std::pair<DISPID, std::wstring>>;

// The ids and names of the functions `info` describes, each once.
NamedIds Described(ITypeInfo* info) {
  NamedIds described;
  TYPEATTR* attributes = nullptr;
  EXPECT_EQ(info->GetTypeAttr(&attributes), S_OK);
  for (UINT i = 0; attributes && i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    EXPECT_EQ(info->GetFuncDesc(i, &function), S_OK);
    const DISPID id = function->memid;
    info->ReleaseFuncDesc(function);
    common::UniqueBstr name;
    info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    described.insert({id, name.str()});
  }
  if (attributes) info->ReleaseTypeAttr(attributes);
  return described;
}

NamedIds Agreed(contract::Side side) {
  NamedIds agreed;
  for (const contract::Named& row : contract::kNames) {
    if (row.side == side) agreed.insert({row.id, row.name});
  }
  return agreed;
}

// The type library names the contract's members and events with their ids,
// and the control answers each name, asked in lower case as scripting
// clients may ask, with its id.
TEST_F(MembersTest, TheTypeLibraryAndTheControlNameTheContractsMembers) {
  common::ComPtr<ITypeInfo> members;
  common::ComPtr<ITypeLib> library;
  common::ComPtr<ITypeInfo> events;
  UINT index = 0;
  ASSERT_EQ(control->GetTypeInfo(0, 0, members.put()), S_OK);
  ASSERT_EQ(members->GetContainingTypeLib(library.put(), &index), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylumeEvents, events.put()), S_OK);
  EXPECT_EQ(Described(members.get()), Agreed(contract::Side::kMember));
  EXPECT_EQ(Described(events.get()), Agreed(contract::Side::kEvent));
  for (const auto& [id, name] : Described(members.get())) {
    std::wstring lower = name;
    for (auto& c : lower) c = static_cast<wchar_t>(::towlower(c));
    LPOLESTR asked[] = {lower.data()};
    DISPID answered = DISPID_UNKNOWN;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, asked, 1, 0, &answered), S_OK) << common::Utf8(lower);
    EXPECT_EQ(answered, id) << common::Utf8(lower);
  }
}

// Clients that read the type library (property browsers, scripting) put
// only what it declares writable: the control takes a put exactly there.
TEST_F(MembersTest, EachPropertyTakesAPutExactlyWhereTheTypeLibraryDeclaresOne) {
  common::ComPtr<ITypeInfo> info;
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(control->GetTypeInfo(0, 0, info.put()), S_OK);
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  std::map<DISPID, int> kinds;  // the INVOKEKINDs of each member
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    kinds[function->memid] |= function->invkind;
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  for (const auto& [id, kind] : kinds) {
    if (!(kind & INVOKE_PROPERTYGET)) continue;
    const HRESULT put = Put(control.get(), id, Value(VT_EMPTY)).hr;
    EXPECT_EQ(put != DISP_E_MEMBERNOTFOUND, (kind & INVOKE_PROPERTYPUT) != 0) << std::hex << id;
  }
}

// Property browsers and code completion offer names where the type
// library has them: the balloon kinds (BalloonIcon's own type) and the
// button codes, with the contract's values.
TEST_F(MembersTest, TheTypeLibraryNamesTheBalloonKindsAndTheButtonCodes) {
  common::ComPtr<ITypeInfo> members;
  common::ComPtr<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(control->GetTypeInfo(0, 0, members.put()), S_OK);
  ASSERT_EQ(members->GetContainingTypeLib(library.put(), &index), S_OK);
  std::vector<std::vector<long>> enums;  // the values of each enum, in order
  common::ComPtr<ITypeInfo> balloonKinds;
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    TYPEKIND kind = TKIND_MAX;
    common::ComPtr<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoType(i, &kind), S_OK);
    if (kind != TKIND_ENUM) continue;
    ASSERT_EQ(library->GetTypeInfo(i, info.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    std::vector<long> values;
    for (UINT v = 0; v < attributes->cVars; ++v) {
      VARDESC* constant = nullptr;
      ASSERT_EQ(info->GetVarDesc(v, &constant), S_OK);
      values.push_back(V_I4(constant->lpvarValue));
      info->ReleaseVarDesc(constant);
    }
    info->ReleaseTypeAttr(attributes);
    enums.push_back(values);
  }
  const std::vector<long> kinds = {contract::kBalloonNone, contract::kBalloonInformation, contract::kBalloonWarning,
                                   contract::kBalloonError};
  const std::vector<long> buttons = {contract::kLeftButton, contract::kRightButton, contract::kMiddleButton};
  EXPECT_EQ(enums, (std::vector<std::vector<long>>{kinds, buttons}));
  // BalloonIcon's get gives the kinds' enum.
  MEMBERID id = DISPID_UNKNOWN;
  LPOLESTR name = const_cast<LPOLESTR>(L"BalloonIcon");
  ASSERT_EQ(members->GetIDsOfNames(&name, 1, &id), S_OK);
  for (UINT f = 0;; ++f) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(members->GetFuncDesc(f, &function), S_OK);
    const bool found = function->memid == id && function->invkind == INVOKE_PROPERTYGET;
    const TYPEDESC type = function->elemdescFunc.tdesc;
    members->ReleaseFuncDesc(function);
    if (!found) continue;
    ASSERT_EQ(type.vt, VT_USERDEFINED);
    common::ComPtr<ITypeInfo> returned;
    ASSERT_EQ(members->GetRefTypeInfo(type.hreftype, returned.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(returned->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_ENUM);
    EXPECT_EQ(attributes->cVars, kinds.size());
    returned->ReleaseTypeAttr(attributes);
    break;
  }
}

// An object that is no picture: an automation exception the user can read,
// and IErrorInfo for scripting clients.
TEST_F(MembersTest, IconRefusesAnObjectThatIsNoPictureWithATextToRead) {
  auto picture = SolidIconPicture(RGB(0, 200, 0));
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  common::ComPtr<IDispatch> notAPicture;
  ASSERT_EQ(CreateControl(&notAPicture), S_OK);
  ::SetErrorInfo(0, nullptr);
  const Outcome refused = Put(control.get(), dispid::kIcon, Object(notAPicture.get()), DISPATCH_PROPERTYPUTREF);
  EXPECT_EQ(refused.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(refused.scode, CTL_E_INVALIDPICTURE);
  EXPECT_FALSE(refused.description.empty());
  common::ComPtr<IErrorInfo> errorInfo;
  EXPECT_EQ(::GetErrorInfo(0, errorInfo.put()), S_OK);
  EXPECT_EQ(V_DISPATCH(Get(control.get(), dispid::kIcon).value.get()), picture.get());
}

TEST_F(MembersTest, NothingGivenToIconBringsBackItsOwn) {
  const Outcome own = Get(control.get(), dispid::kIcon);
  ASSERT_EQ(own.value.type(), VT_DISPATCH);
  const auto ownColor = IconCentreColor(static_cast<IPictureDisp*>(V_DISPATCH(own.value.get())));
  auto picture = SolidIconPicture(RGB(0, 200, 0));
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  VARIANT nothing = Value(VT_DISPATCH);
  V_DISPATCH(&nothing) = nullptr;
  ASSERT_EQ(Put(control.get(), dispid::kIcon, nothing).hr, S_OK);
  const Outcome got = Get(control.get(), dispid::kIcon);
  EXPECT_EQ(IconCentreColor(static_cast<IPictureDisp*>(V_DISPATCH(got.value.get()))), ownColor);
}

}  // namespace
}  // namespace traylume_tests

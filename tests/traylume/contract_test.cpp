// The control's type library, and the control itself, give every member and
// event the id that programs are built on (contract/traylume_contract.h).
#include <gtest/gtest.h>

#include "common/text.h"
#include "contract/traylume_contract.h"
#include "tests/traylume/control_test.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;
using ContractTest = ControlTest;

DISPID IdOf(ITypeInfo* info, std::wstring name) {
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  info->GetIDsOfNames(names, 1, &id);
  return id;
}

TEST_F(ContractTest, TheTypeLibraryAndTheControlGiveEveryNameItsContractId) {
  common::ComPtr<ITypeLib> library;
  ASSERT_EQ(::LoadTypeLibEx(support::ControlPath().c_str(), REGKIND_NONE, library.put()), S_OK);
  common::ComPtr<ITypeInfo> members, events;
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylume, members.put()), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylumeEvents, events.put()), S_OK);
  const struct {
    const wchar_t* name;
    DISPID id;
    ITypeInfo* info;
  } names[] = {
      {L"BalloonSupported", dispid::kBalloonSupported, members.get()}, {L"BalloonText", dispid::kBalloonText, members.get()},
      {L"AutoRefresh", dispid::kAutoRefresh, members.get()},           {L"BalloonSound", dispid::kBalloonSound, members.get()},
      {L"Balloon", dispid::kBalloon, members.get()},                   {L"BalloonTitle", dispid::kBalloonTitle, members.get()},
      {L"ToolTipText", dispid::kToolTipText, members.get()},           {L"BalloonIcon", dispid::kBalloonIcon, members.get()},
      {L"Icon", dispid::kIcon, members.get()},                         {L"Refresh", dispid::kRefresh, members.get()},
      {L"ShowIcon", dispid::kShowIcon, members.get()},                 {L"HideIcon", dispid::kHideIcon, members.get()},
      {L"MouseDown", dispid::kMouseDown, events.get()},                {L"MouseMove", dispid::kMouseMove, events.get()},
      {L"MouseUp", dispid::kMouseUp, events.get()},                    {L"DblClick", dispid::kDblClick, events.get()},
      {L"BalloonShow", dispid::kBalloonShow, events.get()},            {L"BalloonClose", dispid::kBalloonClose, events.get()},
      {L"BalloonClick", dispid::kBalloonClick, events.get()},
  };
  for (const auto& n : names) {
    EXPECT_EQ(IdOf(n.info, n.name), n.id) << common::Utf8(n.name);
    if (n.info != members.get()) continue;
    std::wstring lower(n.name);  // scripting clients ask without regard to case
    for (auto& c : lower) c = static_cast<wchar_t>(::towlower(c));
    LPOLESTR asked[] = {lower.data()};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, asked, 1, 0, &id), S_OK) << common::Utf8(n.name);
    EXPECT_EQ(id, n.id) << common::Utf8(n.name);
  }
}

}  // namespace
}  // namespace traylume_tests

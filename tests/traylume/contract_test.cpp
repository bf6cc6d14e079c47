// The control's type library declares the ids and the event interface that
// programs are built on (contract/traylume_contract.h).
#include <gtest/gtest.h>

#include "common/bstr.h"
#include "common/type_attr.h"
#include "contract/traylume_contract.h"
#include "tests/support/control_server.h"
#include "traylume_idl.h"

namespace {

namespace dispid = contract::dispid;

struct Named {
  const wchar_t* name;
  DISPID id;
};

// The id the type info `info` gives `name`.
DISPID IdOf(ITypeInfo* info, const wchar_t* name) {
  std::wstring copy = name;
  LPOLESTR names[] = {copy.data()};
  DISPID id = DISPID_UNKNOWN;
  info->GetIDsOfNames(names, 1, &id);
  return id;
}

TEST(Contract, TheTypeLibraryGivesEveryMemberAndEventItsContractId) {
  common::ComPtr<ITypeLib> library;
  ASSERT_EQ(::LoadTypeLibEx(support::ControlPath().c_str(), REGKIND_NONE, library.put()), S_OK);
  common::ComPtr<ITypeInfo> members, events;
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylume, members.put()), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_ITraylumeEvents, events.put()), S_OK);
  const Named memberIds[] = {
      {L"BalloonSupported", dispid::kBalloonSupported}, {L"BalloonText", dispid::kBalloonText},
      {L"AutoRefresh", dispid::kAutoRefresh},           {L"BalloonSound", dispid::kBalloonSound},
      {L"Balloon", dispid::kBalloon},                   {L"BalloonTitle", dispid::kBalloonTitle},
      {L"ToolTipText", dispid::kToolTipText},           {L"BalloonIcon", dispid::kBalloonIcon},
      {L"Icon", dispid::kIcon},                         {L"Refresh", dispid::kRefresh},
      {L"ShowIcon", dispid::kShowIcon},                 {L"HideIcon", dispid::kHideIcon},
  };
  for (const Named& member : memberIds) EXPECT_EQ(IdOf(members.get(), member.name), member.id) << member.name;
  const Named eventIds[] = {
      {L"MouseDown", dispid::kMouseDown},     {L"MouseMove", dispid::kMouseMove},
      {L"MouseUp", dispid::kMouseUp},         {L"DblClick", dispid::kDblClick},
      {L"BalloonShow", dispid::kBalloonShow}, {L"BalloonClose", dispid::kBalloonClose},
      {L"BalloonClick", dispid::kBalloonClick},
  };
  for (const Named& event : eventIds) EXPECT_EQ(IdOf(events.get(), event.name), event.id) << event.name;

  // The coclass raises its events through that interface by default.
  common::ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_Traylume, coclass.put()), S_OK);
  const common::TypeAttr attr(coclass.get());
  ASSERT_TRUE(attr);
  bool found = false;
  for (UINT i = 0; i < attr->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    common::ComPtr<ITypeInfo> source;
    coclass->GetImplTypeFlags(i, &flags);
    coclass->GetRefTypeOfImplType(i, &reference);
    coclass->GetRefTypeInfo(reference, source.put());
    const common::TypeAttr sourceAttr(source.get());
    if (flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) found = sourceAttr->guid == DIID_ITraylumeEvents;
  }
  EXPECT_TRUE(found);
}

}  // namespace

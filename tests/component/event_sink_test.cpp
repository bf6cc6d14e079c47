// The sink the program advises on the control: each event reaches its one
// handler with Button read safely, and calls that fit no event reach none.
// (The events the control raises reach the log in the window's tests.)
#include <gtest/gtest.h>

#include "common/bstr.h"
#include "component/event_sink.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/component/heard_events.h"
#include "tests/support/com_test.h"

namespace {

namespace dispid = contract::dispid;
using EventSinkTest = support::ComTest;

TEST_F(EventSinkTest, AButtonIsReadByReferenceByValueOrConvertedAndAnythingElseIsRefused) {
  const IID events = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
  component_tests::HeardEvents heard;
  auto sink = common::make<component::EventSink>(&heard, events);
  common::ComPtr<IDispatch> asEvents;
  EXPECT_EQ(sink->QueryInterface(events, asEvents.put_void()), S_OK);
  short left = contract::kLeftButton;
  VARIANT byReference, nowhere;
  V_VT(&byReference) = V_VT(&nowhere) = VT_I2 | VT_BYREF;
  V_I2REF(&byReference) = &left, V_I2REF(&nowhere) = nullptr;
  common::UniqueBstr four(L"4");
  const struct {
    const char* name;
    DISPID id;
    WORD flags;
    std::vector<VARIANT> arguments;
    std::optional<DISPID> named;
    HRESULT expected;
    UINT argError;
    const wchar_t* heard;
  } cases[] = {
      {"by reference", dispid::kMouseDown, DISPATCH_METHOD, {byReference}, {}, S_OK, ~0u, L"MouseDown 1"},
      {"by value", dispid::kMouseUp, DISPATCH_METHOD, {support::I4(2)}, {}, S_OK, ~0u, L"MouseUp 2"},
      {"as text", dispid::kDblClick, DISPATCH_METHOD, {support::Text(four.get())}, {}, S_OK, ~0u, L"DblClick 4"},
      {"no button", dispid::kMouseDown, DISPATCH_METHOD, {}, {}, DISP_E_PARAMNOTFOUND, 0, nullptr},
      {"reference to nothing", dispid::kMouseUp, DISPATCH_METHOD, {nowhere}, {}, DISP_E_TYPEMISMATCH, 0, nullptr},
      {"object as button", dispid::kDblClick, DISPATCH_METHOD, {support::Object(sink.get())}, {},
       DISP_E_TYPEMISMATCH, 0, nullptr},
      {"two buttons", dispid::kMouseDown, DISPATCH_METHOD, {byReference, byReference}, {}, DISP_E_BADPARAMCOUNT, ~0u,
       nullptr},
      {"one too many", dispid::kMouseMove, DISPATCH_METHOD, {byReference}, {}, DISP_E_BADPARAMCOUNT, ~0u, nullptr},
      {"named", dispid::kMouseDown, DISPATCH_METHOD, {byReference}, 1, DISP_E_NONAMEDARGS, ~0u, nullptr},
      {"no such event", 99, DISPATCH_METHOD, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u, nullptr},
      {"a property get", dispid::kMouseMove, DISPATCH_PROPERTYGET, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u, nullptr},
  };
  for (const auto& c : cases) {
    heard.events.clear();
    const support::Outcome outcome = support::Invoke(sink.get(), c.id, c.flags, c.arguments, c.named);
    EXPECT_EQ(outcome.hr, c.expected) << c.name;
    EXPECT_EQ(outcome.argError, c.argError) << c.name;
    EXPECT_EQ(heard.events, c.heard ? std::vector<std::wstring>{c.heard} : std::vector<std::wstring>{}) << c.name;
  }
  sink->Disconnect();
  heard.events.clear();
  EXPECT_EQ(support::Invoke(sink.get(), dispid::kMouseMove, DISPATCH_METHOD).hr, S_OK);
  EXPECT_TRUE(heard.events.empty()) << "a disconnected sink passes events on";
}

}  // namespace

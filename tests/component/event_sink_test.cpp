// The sink the program advises on the control: each event reaches its one
// handler with Button read safely, and calls that fit no event reach none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/bstr.h"
#include "component/event_sink.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"

namespace {

namespace dispid = contract::dispid;

struct Heard final : component::TraylumeEvents {
  std::vector<std::wstring> events;
  void MouseDown(short b) override { events.push_back(L"MouseDown " + std::to_wstring(b)); }
  void MouseMove() override { events.push_back(L"MouseMove"); }
  void MouseUp(short b) override { events.push_back(L"MouseUp " + std::to_wstring(b)); }
  void DblClick(short b) override { events.push_back(L"DblClick " + std::to_wstring(b)); }
  void BalloonShow() override { events.push_back(L"BalloonShow"); }
  void BalloonClose() override { events.push_back(L"BalloonClose"); }
  void BalloonClick() override { events.push_back(L"BalloonClick"); }
};

const IID kEvents = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};

using EventSinkTest = support::ComTest;

TEST_F(EventSinkTest, EachEventReachesItsHandlerWithItsButton) {
  Heard heard;
  auto sink = common::make<component::EventSink>(&heard, kEvents);
  short left = contract::kLeftButton;
  VARIANT byReference;
  V_VT(&byReference) = VT_I2 | VT_BYREF;
  V_I2REF(&byReference) = &left;
  common::UniqueBstr four(L"4");
  const struct {
    DISPID id;
    std::vector<VARIANT> arguments;
    const wchar_t* expected;
  } cases[] = {
      {dispid::kMouseDown, {byReference}, L"MouseDown 1"},  {dispid::kMouseMove, {}, L"MouseMove"},
      {dispid::kMouseUp, {support::I4(2)}, L"MouseUp 2"},   {dispid::kDblClick, {support::Text(four.get())}, L"DblClick 4"},
      {dispid::kBalloonShow, {}, L"BalloonShow"},           {dispid::kBalloonClose, {}, L"BalloonClose"},
      {dispid::kBalloonClick, {}, L"BalloonClick"},
  };
  for (const auto& c : cases) {
    heard.events.clear();
    EXPECT_EQ(support::Invoke(sink.get(), c.id, DISPATCH_METHOD, c.arguments).hr, S_OK) << c.expected;
    EXPECT_EQ(heard.events, std::vector<std::wstring>{c.expected});
  }
  common::ComPtr<IDispatch> asEvents;
  EXPECT_EQ(sink->QueryInterface(kEvents, asEvents.put_void()), S_OK);
}

TEST_F(EventSinkTest, CallsThatFitNoEventAreRefusedBeforeAnyHandler) {
  Heard heard;
  auto sink = common::make<component::EventSink>(&heard, kEvents);
  VARIANT nowhere;
  V_VT(&nowhere) = VT_I2 | VT_BYREF;
  V_I2REF(&nowhere) = nullptr;
  const struct {
    const char* name;
    DISPID id;
    WORD flags;
    std::vector<VARIANT> arguments;
    std::optional<DISPID> named;
    HRESULT expected;
    UINT argError;
  } cases[] = {
      {"no button", dispid::kMouseDown, DISPATCH_METHOD, {}, {}, DISP_E_PARAMNOTFOUND, 0},
      {"reference to nothing", dispid::kMouseUp, DISPATCH_METHOD, {nowhere}, {}, DISP_E_TYPEMISMATCH, 0},
      {"object as button", dispid::kDblClick, DISPATCH_METHOD, {support::Object(sink.get())}, {},
       DISP_E_TYPEMISMATCH, 0},
      {"two buttons", dispid::kMouseDown, DISPATCH_METHOD, {support::I4(1), support::I4(1)}, {},
       DISP_E_BADPARAMCOUNT, ~0u},
      {"an argument too many", dispid::kMouseMove, DISPATCH_METHOD, {support::I4(1)}, {}, DISP_E_BADPARAMCOUNT, ~0u},
      {"named", dispid::kMouseDown, DISPATCH_METHOD, {support::I4(1)}, 1, DISP_E_NONAMEDARGS, ~0u},
      {"no such event", 99, DISPATCH_METHOD, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u},
      {"a property get", dispid::kMouseMove, DISPATCH_PROPERTYGET, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u},
  };
  for (const auto& c : cases) {
    const support::Outcome outcome = support::Invoke(sink.get(), c.id, c.flags, c.arguments, c.named);
    EXPECT_EQ(outcome.hr, c.expected) << c.name;
    EXPECT_EQ(outcome.argError, c.argError) << c.name;
  }
  EXPECT_TRUE(heard.events.empty());

  sink->Disconnect();
  EXPECT_EQ(support::Invoke(sink.get(), dispid::kMouseMove, DISPATCH_METHOD).hr, S_OK);
  EXPECT_TRUE(heard.events.empty()) << "a disconnected sink passes events on";
}

}  // namespace

// The sink the program advises on the control: Button read safely, calls
// that fit no event refused (its silence once disconnected is the host's).
#include <gtest/gtest.h>

#include "component/event_sink.h"
#include "contract/traylume_contract.h"
#include "tests/component/heard_events.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"

namespace component_tests {
namespace {

namespace dispid = contract::dispid;
using EventSinkTest = support::ComTest;

const IID kEvents = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};

TEST_F(EventSinkTest, AButtonIsReadByReferenceOrConvertedAndAnythingElseIsRefused) {
  HeardEvents heard;
  auto sink = common::make<component::EventSink>(&heard, kEvents);
  common::ComPtr<IDispatch> asEvents;
  EXPECT_EQ(sink->QueryInterface(kEvents, asEvents.put_void()), S_OK);
  short left = contract::kLeftButton;
  VARIANT byReference = support::Value(VT_I2 | VT_BYREF);
  V_I2REF(&byReference) = &left;
  const struct {
    const char* name;
    DISPID id;
    std::vector<VARIANT> arguments;
    std::optional<DISPID> named;
    HRESULT expected;
    UINT argError;
    const wchar_t* heard;
  } cases[] = {
      {"by reference", dispid::kMouseDown, {byReference}, {}, S_OK, ~0u, L"MouseDown 1"},
      {"no button", dispid::kMouseDown, {}, {}, DISP_E_PARAMNOTFOUND, 0, nullptr},
      {"button too large", dispid::kMouseUp, {support::I4(70000)}, {}, DISP_E_OVERFLOW, 0, nullptr},
      {"argument to MouseMove", dispid::kMouseMove, {byReference}, {}, DISP_E_BADPARAMCOUNT, ~0u, nullptr},
      {"two buttons", dispid::kMouseDown, {byReference, byReference}, {}, DISP_E_BADPARAMCOUNT, ~0u, nullptr},
      {"named", dispid::kMouseDown, {byReference}, 1, DISP_E_NONAMEDARGS, ~0u, nullptr},
      {"no such event", 99, {}, {}, DISP_E_MEMBERNOTFOUND, ~0u, nullptr},
  };
  for (const auto& c : cases) {
    heard.events.clear();
    const support::Outcome outcome = support::Invoke(sink.get(), c.id, DISPATCH_METHOD, c.arguments, c.named);
    EXPECT_EQ(outcome.hr, c.expected) << c.name;
    EXPECT_EQ(outcome.argError, c.argError) << c.name;
    EXPECT_EQ(heard.events, c.heard ? std::vector<std::wstring>{c.heard} : std::vector<std::wstring>{}) << c.name;
  }
  heard.events.clear();
  EXPECT_EQ(support::Get(sink.get(), dispid::kMouseMove).hr, DISP_E_MEMBERNOTFOUND) << "a property read";
  EXPECT_TRUE(heard.events.empty());
}

}  // namespace
}  // namespace component_tests

// The event sink: the seven events by dispatch id, Button by reference or by
// value or any integer that fits, and refusals that never reach the handler.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/com_object.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "component/event_sink.h"
#include "tests/component/recording_events.h"
#include "tests/support/com_test.h"
#include "tests/support/fake_traylume.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace dispid = contract::dispid;

// {0E0D2C4B-6A55-4C2A-9D2B-8F3E7C1A5B60}: an event interface only this test knows.
constexpr IID kSomeEvents = {0x0e0d2c4b, 0x6a55, 0x4c2a, {0x9d, 0x2b, 0x8f, 0x3e, 0x7c, 0x1a, 0x5b, 0x60}};

VARIANT Value(VARTYPE type, void* reference = nullptr) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = type;
  if (type & VT_BYREF) V_BYREF(&v) = reference;
  return v;
}
VARIANT Short(short value) {
  VARIANT v = Value(VT_I2);
  V_I2(&v) = value;
  return v;
}
VARIANT Long(LONG value) {
  VARIANT v = Value(VT_I4);
  V_I4(&v) = value;
  return v;
}

class EventSinkTest : public testing_support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    sink = common::make<component::EventSink>(&events, kSomeEvents);
    ASSERT_TRUE(sink);
  }
  void TearDown() override {
    sink.reset();
    ComTest::TearDown();
  }

  // Invokes `id` with `arguments` given last first, as callers lay them out.
  HRESULT Raise(DISPID id, std::vector<VARIANT> arguments = {}, UINT* argError = nullptr) {
    DISPPARAMS params{arguments.empty() ? nullptr : arguments.data(), nullptr,
                      static_cast<UINT>(arguments.size()), 0};
    UINT ignored = 0;
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                        argError ? argError : &ignored);
  }

  binding_tests::RecordingEvents events;
  common::ComPtr<component::EventSink> sink;
};

TEST_F(EventSinkTest, AnswersTheEventInterfaceIDispatchAndIUnknownOnly) {
  common::ComPtr<IUnknown> asEvents, asUnknown;
  common::ComPtr<IDispatch> asDispatch;
  EXPECT_EQ(sink.As(kSomeEvents, &asEvents), S_OK);
  EXPECT_EQ(sink.As(&asDispatch), S_OK);
  EXPECT_EQ(sink.As(&asUnknown), S_OK);
  common::ComPtr<IUnknown> other;
  EXPECT_EQ(sink.As(fakes::kFakeTraylumeEventsIid, &other), E_NOINTERFACE);
  common::ComPtr<IPersist> persist;
  EXPECT_EQ(sink.As(&persist), E_NOINTERFACE);
}

TEST_F(EventSinkTest, EachEventReachesItsHandlerWithTheButtonByReferenceByValueOrConverted) {
  short left = contract::kLeftButton;
  LONG middle = contract::kMiddleButton;
  common::UniqueVariant two;
  V_VT(two.get()) = VT_BSTR;
  V_BSTR(two.get()) = ::SysAllocString(L"2");
  const struct {
    DISPID id;
    std::vector<VARIANT> arguments;
    const wchar_t* handled;
  } raised[] = {
      {dispid::kMouseDown, {Value(VT_I2 | VT_BYREF, &left)}, L"MouseDown 1"},
      {dispid::kMouseMove, {}, L"MouseMove"},
      {dispid::kMouseUp, {Short(contract::kRightButton)}, L"MouseUp 2"},
      {dispid::kDblClick, {Short(contract::kMiddleButton)}, L"DblClick 4"},
      {dispid::kBalloonShow, {}, L"BalloonShow"},
      {dispid::kBalloonClose, {}, L"BalloonClose"},
      {dispid::kBalloonClick, {}, L"BalloonClick"},
      {dispid::kMouseDown, {Long(1)}, L"MouseDown 1"},
      {dispid::kMouseUp, {Value(VT_I4 | VT_BYREF, &middle)}, L"MouseUp 4"},
      {dispid::kDblClick, {*two.get()}, L"DblClick 2"},
  };
  for (const auto& event : raised) {
    SCOPED_TRACE(::testing::PrintToString(event.handled));
    events.calls.clear();
    EXPECT_EQ(Raise(event.id, event.arguments), S_OK);
    EXPECT_THAT(events.calls, ElementsAre(event.handled));
  }
}

TEST_F(EventSinkTest, CallsThatDoNotFitAnEventAreRefusedWithoutCallingTheHandler) {
  common::UniqueVariant word;
  V_VT(word.get()) = VT_BSTR;
  V_BSTR(word.get()) = ::SysAllocString(L"左");
  VARIANT missing = Value(VT_ERROR);
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  const struct {
    const char* what;
    DISPID id;
    std::vector<VARIANT> arguments;
    HRESULT expected;  // E_FAIL: any failure
  } refused[] = {
      {"no Button", dispid::kMouseDown, {}, DISP_E_PARAMNOTFOUND},
      {"empty Button", dispid::kMouseUp, {Value(VT_EMPTY)}, DISP_E_PARAMNOTFOUND},
      {"missing Button", dispid::kDblClick, {missing}, DISP_E_PARAMNOTFOUND},
      {"Button not a number", dispid::kMouseDown, {*word.get()}, DISP_E_TYPEMISMATCH},
      {"Button too big", dispid::kMouseDown, {Long(70000)}, E_FAIL},
      {"Button by null reference", dispid::kMouseDown, {Value(VT_I2 | VT_BYREF)}, E_FAIL},
      {"two Buttons", dispid::kMouseDown, {Short(1), Short(2)}, DISP_E_BADPARAMCOUNT},
      {"an argument too many", dispid::kBalloonShow, {Short(1)}, DISP_E_BADPARAMCOUNT},
      {"no event 0", 0, {}, DISP_E_MEMBERNOTFOUND},
      {"no event 8", 8, {}, DISP_E_MEMBERNOTFOUND},
      {"a method of the control", dispid::kShowIcon, {}, DISP_E_MEMBERNOTFOUND},
  };
  for (const auto& call : refused) {
    SCOPED_TRACE(call.what);
    UINT argError = 99;
    const HRESULT hr = Raise(call.id, call.arguments, &argError);
    if (call.expected == E_FAIL) {
      EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    } else {
      EXPECT_EQ(hr, call.expected);
    }
    if (call.expected == DISP_E_TYPEMISMATCH) {
      EXPECT_EQ(argError, 0u);
    }
  }

  // Counts that lie, no DISPPARAMS, named arguments, a property get.
  DISPPARAMS lying{nullptr, nullptr, 1, 0};
  EXPECT_EQ(sink->Invoke(dispid::kMouseDown, IID_NULL, 0, DISPATCH_METHOD, &lying, nullptr, nullptr, nullptr),
            E_INVALIDARG);
  EXPECT_EQ(sink->Invoke(dispid::kMouseUp, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
            DISP_E_PARAMNOTFOUND);
  VARIANT button = Short(1);
  DISPID name = 0;
  DISPPARAMS named{&button, &name, 1, 1};
  EXPECT_EQ(sink->Invoke(dispid::kMouseDown, IID_NULL, 0, DISPATCH_METHOD, &named, nullptr, nullptr, nullptr),
            DISP_E_NONAMEDARGS);
  DISPPARAMS none{};
  common::UniqueVariant value;
  EXPECT_EQ(sink->Invoke(dispid::kMouseMove, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.get(), nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_THAT(events.calls, IsEmpty());

  // Without DISPPARAMS an event without arguments still arrives.
  EXPECT_EQ(sink->Invoke(dispid::kMouseMove, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_THAT(events.calls, ElementsAre(L"MouseMove"));
}

TEST_F(EventSinkTest, NamesAreKnownButNotNeeded) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"dblclick")};
  DISPID id = 0;
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  EXPECT_EQ(id, dispid::kDblClick);
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Click")};
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(EventSinkTest, ADisconnectedSinkPassesNothingOn) {
  sink->Disconnect();
  EXPECT_EQ(Raise(dispid::kMouseDown, {Short(1)}), S_OK);
  EXPECT_EQ(Raise(dispid::kBalloonClose), S_OK);
  EXPECT_THAT(events.calls, IsEmpty());
}

TEST_F(EventSinkTest, SeveralSinksOnTheFakeAllHearAnEvent) {
  auto fake = fakes::MakeFakeTraylume();
  binding_tests::RecordingEvents other;
  auto sinkA = common::make<component::EventSink>(&events, fakes::kFakeTraylumeEventsIid);
  auto sinkB = common::make<component::EventSink>(&other, fakes::kFakeTraylumeEventsIid);
  common::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(fake->FindConnectionPoint(fakes::kFakeTraylumeEventsIid, point.put()), S_OK);
  DWORD a = 0, b = 0;
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(sinkA.get()), &a), S_OK);
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(sinkB.get()), &b), S_OK);
  EXPECT_EQ(fake->SinkCount(), 2u);
  fake->Fire(dispid::kDblClick, contract::kLeftButton);
  EXPECT_THAT(events.calls, ElementsAre(L"DblClick 1"));
  EXPECT_THAT(other.calls, ElementsAre(L"DblClick 1"));
  EXPECT_EQ(point->Unadvise(a), S_OK);
  EXPECT_EQ(point->Unadvise(b), S_OK);
  EXPECT_EQ(point->Unadvise(b), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(fake->SinkCount(), 0u);
}

}  // namespace

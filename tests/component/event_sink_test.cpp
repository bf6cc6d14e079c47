// The event sink: the seven events by dispatch id, Button by reference or by
// value or any integer that fits, and refusals that never reach the handler.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/com_object.h"
#include "common/variant.h"
#include "component/dispids.h"
#include "component/event_sink.h"
#include "tests/component/recording_events.h"
#include "tests/support/com_test.h"
#include "tests/support/fake_traylume.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace dispid = traylume::dispid;

// {0E0D2C4B-6A55-4C2A-9D2B-8F3E7C1A5B60}: an event interface only this test knows.
constexpr IID kSomeEvents = {0x0e0d2c4b, 0x6a55, 0x4c2a, {0x9d, 0x2b, 0x8f, 0x3e, 0x7c, 0x1a, 0x5b, 0x60}};

class EventSinkTest : public testing_support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    sink = common::make<traylume::EventSink>(&events, kSomeEvents);
    ASSERT_TRUE(sink);
  }
  void TearDown() override {
    sink.reset();
    ComTest::TearDown();
  }

  // Invokes `id` with `arguments` given last first, as callers lay them out.
  HRESULT Raise(DISPID id, std::vector<VARIANT> arguments = {}, UINT* argError = nullptr) {
    DISPPARAMS params{};
    params.rgvarg = arguments.empty() ? nullptr : arguments.data();
    params.cArgs = static_cast<UINT>(arguments.size());
    UINT ignored = 0;
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                        argError ? argError : &ignored);
  }
  static VARIANT Short(short value) {
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_I2;
    V_I2(&v) = value;
    return v;
  }
  static VARIANT Long(LONG value) {
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
  }

  binding_tests::RecordingEvents events;
  common::ComPtr<traylume::EventSink> sink;
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

TEST_F(EventSinkTest, EachEventGoesToItsHandler) {
  short left = traylume::kLeftButton;
  VARIANT byReference;
  ::VariantInit(&byReference);
  V_VT(&byReference) = VT_I2 | VT_BYREF;
  V_I2REF(&byReference) = &left;

  EXPECT_EQ(Raise(dispid::kMouseDown, {byReference}), S_OK);
  EXPECT_EQ(Raise(dispid::kMouseMove), S_OK);
  EXPECT_EQ(Raise(dispid::kMouseUp, {Short(traylume::kRightButton)}), S_OK);
  EXPECT_EQ(Raise(dispid::kDblClick, {Short(traylume::kMiddleButton)}), S_OK);
  EXPECT_EQ(Raise(dispid::kBalloonShow), S_OK);
  EXPECT_EQ(Raise(dispid::kBalloonClose), S_OK);
  EXPECT_EQ(Raise(dispid::kBalloonClick), S_OK);
  EXPECT_THAT(events.calls, ElementsAre(L"MouseDown 1", L"MouseMove", L"MouseUp 2", L"DblClick 4", L"BalloonShow",
                                        L"BalloonClose", L"BalloonClick"));
}

TEST_F(EventSinkTest, ButtonOfAnotherIntegerTypeIsConverted) {
  LONG middle = 4;
  VARIANT longByReference;
  ::VariantInit(&longByReference);
  V_VT(&longByReference) = VT_I4 | VT_BYREF;
  V_I4REF(&longByReference) = &middle;
  common::UniqueVariant text;
  V_VT(text.get()) = VT_BSTR;
  V_BSTR(text.get()) = ::SysAllocString(L"2");

  EXPECT_EQ(Raise(dispid::kMouseDown, {Long(1)}), S_OK);
  EXPECT_EQ(Raise(dispid::kMouseUp, {longByReference}), S_OK);
  EXPECT_EQ(Raise(dispid::kDblClick, {*text.get()}), S_OK);
  EXPECT_THAT(events.calls, ElementsAre(L"MouseDown 1", L"MouseUp 4", L"DblClick 2"));
}

TEST_F(EventSinkTest, MissingOrUnusableButtonIsRefusedWithoutCallingTheHandler) {
  EXPECT_EQ(Raise(dispid::kMouseDown), DISP_E_PARAMNOTFOUND);

  VARIANT empty;
  ::VariantInit(&empty);
  EXPECT_EQ(Raise(dispid::kMouseUp, {empty}), DISP_E_PARAMNOTFOUND);

  VARIANT missing;
  ::VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  EXPECT_EQ(Raise(dispid::kDblClick, {missing}), DISP_E_PARAMNOTFOUND);

  common::UniqueVariant text;
  V_VT(text.get()) = VT_BSTR;
  V_BSTR(text.get()) = ::SysAllocString(L"左");
  UINT argError = 99;
  EXPECT_EQ(Raise(dispid::kMouseDown, {*text.get()}, &argError), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);

  const HRESULT tooBig = Raise(dispid::kMouseDown, {Long(70000)});
  EXPECT_TRUE(tooBig == DISP_E_OVERFLOW || tooBig == DISP_E_TYPEMISMATCH) << std::hex << tooBig;

  VARIANT nullReference;
  ::VariantInit(&nullReference);
  V_VT(&nullReference) = VT_I2 | VT_BYREF;
  V_I2REF(&nullReference) = nullptr;
  EXPECT_TRUE(FAILED(Raise(dispid::kMouseDown, {nullReference})));

  EXPECT_THAT(events.calls, IsEmpty());
}

TEST_F(EventSinkTest, ArgumentCountsAreNotTrusted) {
  // cArgs says one, but there is no array.
  DISPPARAMS lying{nullptr, nullptr, 1, 0};
  EXPECT_EQ(sink->Invoke(dispid::kMouseDown, IID_NULL, 0, DISPATCH_METHOD, &lying, nullptr, nullptr, nullptr),
            DISP_E_PARAMNOTFOUND);
  // No DISPPARAMS at all.
  EXPECT_EQ(sink->Invoke(dispid::kMouseUp, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(sink->Invoke(dispid::kMouseMove, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), S_OK);
  // More arguments than the event has.
  EXPECT_EQ(Raise(dispid::kMouseDown, {Short(1), Short(2)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Raise(dispid::kBalloonShow, {Short(1)}), DISP_E_BADPARAMCOUNT);
  EXPECT_THAT(events.calls, ElementsAre(L"MouseMove"));
}

TEST_F(EventSinkTest, NamedArgumentsAreRefused) {
  VARIANT button = Short(1);
  DISPID name = 0;
  DISPPARAMS named{&button, &name, 1, 1};
  EXPECT_EQ(sink->Invoke(dispid::kMouseDown, IID_NULL, 0, DISPATCH_METHOD, &named, nullptr, nullptr, nullptr),
            DISP_E_NONAMEDARGS);
  EXPECT_THAT(events.calls, IsEmpty());
}

TEST_F(EventSinkTest, UnknownEventsAreNotMembers) {
  EXPECT_EQ(Raise(0), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Raise(8), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Raise(dispid::kShowIcon), DISP_E_MEMBERNOTFOUND);
  DISPPARAMS none{};
  common::UniqueVariant value;
  EXPECT_EQ(sink->Invoke(dispid::kMouseMove, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.get(), nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_THAT(events.calls, IsEmpty());
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
  auto sinkA = common::make<traylume::EventSink>(&events, fakes::kFakeTraylumeEventsIid);
  auto sinkB = common::make<traylume::EventSink>(&other, fakes::kFakeTraylumeEventsIid);
  common::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(fake->FindConnectionPoint(fakes::kFakeTraylumeEventsIid, point.put()), S_OK);
  DWORD a = 0, b = 0;
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(sinkA.get()), &a), S_OK);
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(sinkB.get()), &b), S_OK);
  EXPECT_EQ(fake->SinkCount(), 2u);
  fake->Fire(dispid::kDblClick, traylume::kLeftButton);
  EXPECT_THAT(events.calls, ElementsAre(L"DblClick 1"));
  EXPECT_THAT(other.calls, ElementsAre(L"DblClick 1"));
  EXPECT_EQ(point->Unadvise(a), S_OK);
  EXPECT_EQ(point->Unadvise(b), S_OK);
  EXPECT_EQ(point->Unadvise(b), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(fake->SinkCount(), 0u);
}

}  // namespace

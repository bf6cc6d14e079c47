// The typed calls of Traylume: each reaches the control by dispatch id with
// the agreed kind of access and value type, and each failure comes back with
// the best explanation the control or the system gave.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <olectl.h>

#include <functional>

#include "common/com_object.h"
#include "common/hresult.h"
#include "contract/traylume_contract.h"
#include "component/texts.h"
#include "component/traylume.h"
#include "tests/component/invoke_recorder.h"
#include "tests/support/com_test.h"
#include "tests/support/fake_traylume.h"

namespace {

using ::testing::ElementsAre;
using common::ComResult;
using component::Traylume;
namespace dispid = contract::dispid;

class TraylumeCalls : public testing_support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    fake = fakes::MakeFakeTraylume(RGB(0, 128, 255));
    ASSERT_TRUE(fake);
    control = Traylume(common::ComPtr<IDispatch>(static_cast<IDispatch*>(fake.get())));
  }
  void TearDown() override {
    control = Traylume();
    fake.reset();
    ComTest::TearDown();
  }

  common::ComPtr<fakes::FakeTraylume> fake;
  Traylume control;
};

TEST_F(TraylumeCalls, LetsPassEachValueWithItsAutomationTypeAndMethodsNoArguments) {
  EXPECT_TRUE(control.PutBalloonText(L"a\r\nb"));
  EXPECT_TRUE(control.PutAutoRefresh(true));
  EXPECT_TRUE(control.PutAutoRefresh(false));
  EXPECT_TRUE(control.PutBalloonSound(true));
  EXPECT_TRUE(control.PutBalloon(false));
  EXPECT_TRUE(control.PutBalloonTitle(L"タイトル"));
  EXPECT_TRUE(control.PutToolTipText(L"ツールチップのテストです。"));
  EXPECT_TRUE(control.PutToolTipText(L""));
  EXPECT_TRUE(control.PutBalloonIcon(3));
  EXPECT_TRUE(control.Refresh());
  EXPECT_TRUE(control.ShowIcon());
  EXPECT_TRUE(control.HideIcon());
  EXPECT_THAT(fake->log, ElementsAre(L"let BalloonText VT_BSTR a\r\nb", L"let AutoRefresh VT_BOOL -1",
                                     L"let AutoRefresh VT_BOOL 0", L"let BalloonSound VT_BOOL -1",
                                     L"let Balloon VT_BOOL 0", L"let BalloonTitle VT_BSTR タイトル",
                                     L"let ToolTipText VT_BSTR ツールチップのテストです。",
                                     L"let ToolTipText VT_BSTR ", L"let BalloonIcon VT_I4 3", L"call Refresh",
                                     L"call ShowIcon", L"call HideIcon"));
}

TEST_F(TraylumeCalls, BalloonSupportedIsReadAsBoolean) {
  bool supported = false;
  EXPECT_TRUE(control.GetBalloonSupported(&supported));
  EXPECT_TRUE(supported);
  fake->balloonSupported = false;
  EXPECT_TRUE(control.GetBalloonSupported(&supported));
  EXPECT_FALSE(supported);
  EXPECT_THAT(fake->log, ElementsAre(L"get BalloonSupported", L"get BalloonSupported"));
}

TEST_F(TraylumeCalls, IconIsReadAsThePictureTheControlHoldsAndSetByReference) {
  common::ComPtr<IPictureDisp> picture;
  ASSERT_TRUE(control.GetIcon(&picture));
  common::ComPtr<IUnknown> got, held;
  ASSERT_EQ(picture.As(&got), S_OK);
  ASSERT_EQ(fake->icon.As(&held), S_OK);
  EXPECT_EQ(got.get(), held.get());

  auto other = fakes::MakeFakeTraylume(RGB(0, 255, 0));
  EXPECT_TRUE(control.PutRefIcon(other->icon.get()));
  EXPECT_EQ(fake->icon.get(), other->icon.get());
  ASSERT_TRUE(control.GetIcon(&picture));
  EXPECT_EQ(picture.get(), other->icon.get());
  EXPECT_THAT(fake->log, ElementsAre(L"get Icon", L"putref Icon VT_DISPATCH", L"get Icon"));
}

TEST_F(TraylumeCalls, IconWithoutPictureIsAFailure) {
  fake->iconIsEmpty = true;
  common::ComPtr<IPictureDisp> picture;
  common::ComResult result = control.GetIcon(&picture);
  EXPECT_TRUE(FAILED(result.hr));
  EXPECT_EQ(result.operation, L"Icon");
  EXPECT_EQ(result.description, component::texts::kIconIsNotPicture);
  EXPECT_FALSE(picture);

  fake->iconIsEmpty = false;
  fake->icon.reset();  // VT_DISPATCH, but no object
  result = control.GetIcon(&picture);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.description, component::texts::kIconIsNotPicture);
  EXPECT_FALSE(picture);
}

TEST_F(TraylumeCalls, EveryMemberReportsItsOwnNameAndTheExcepInfoDescription) {
  const struct {
    DISPID id;
    const wchar_t* name;
    common::ComResult (*call)(const Traylume&);
  } kCalls[] = {
      {dispid::kBalloonSupported, L"BalloonSupported",
       [](const Traylume& c) {
         bool on = false;
         return c.GetBalloonSupported(&on);
       }},
      {dispid::kBalloonText, L"BalloonText", [](const Traylume& c) { return c.PutBalloonText(L"t"); }},
      {dispid::kAutoRefresh, L"AutoRefresh", [](const Traylume& c) { return c.PutAutoRefresh(true); }},
      {dispid::kBalloonSound, L"BalloonSound", [](const Traylume& c) { return c.PutBalloonSound(true); }},
      {dispid::kBalloon, L"Balloon", [](const Traylume& c) { return c.PutBalloon(true); }},
      {dispid::kBalloonTitle, L"BalloonTitle", [](const Traylume& c) { return c.PutBalloonTitle(L"t"); }},
      {dispid::kToolTipText, L"ToolTipText", [](const Traylume& c) { return c.PutToolTipText(L"t"); }},
      {dispid::kBalloonIcon, L"BalloonIcon", [](const Traylume& c) { return c.PutBalloonIcon(1); }},
      {dispid::kIcon, L"Icon",
       [](const Traylume& c) {
         common::ComPtr<IPictureDisp> picture;
         return c.GetIcon(&picture);
       }},
      {dispid::kRefresh, L"Refresh", [](const Traylume& c) { return c.Refresh(); }},
      {dispid::kShowIcon, L"ShowIcon", [](const Traylume& c) { return c.ShowIcon(); }},
      {dispid::kHideIcon, L"HideIcon", [](const Traylume& c) { return c.HideIcon(); }},
  };
  for (const auto& entry : kCalls) {
    fake->FailOn(entry.id, std::wstring(L"失敗: ") + entry.name);
    const common::ComResult result = entry.call(control);
    EXPECT_EQ(result.hr, DISP_E_EXCEPTION) << entry.name;
    EXPECT_EQ(result.operation, entry.name);
    EXPECT_EQ(result.description, std::wstring(L"失敗: ") + entry.name);
  }
  // Icon by reference fails as Icon too.
  const common::ComResult result = control.PutRefIcon(fake->icon.get());
  EXPECT_EQ(result.operation, L"Icon");
  EXPECT_EQ(result.description, L"失敗: Icon");
}

TEST_F(TraylumeCalls, EveryOtherKindOfFailureIsExplainedAndOldErrorInfoNeverReused) {
  using Kind = fakes::FakeTraylume::FailureKind;
  fake->FailWith(dispid::kBalloon, Kind::kDeferredExcepInfo, E_FAIL);
  fake->FailWith(dispid::kShowIcon, Kind::kErrorInfo, E_ACCESSDENIED, L"通知領域に表示できません。");
  fake->FailWith(dispid::kHideIcon, Kind::kPlainHresult, E_OUTOFMEMORY);
  const Traylume none;
  const struct {
    std::function<common::ComResult()> call;
    common::ComResult expected;
  } failures[] = {
      {[&] { return control.PutBalloon(true); },
       {DISP_E_EXCEPTION, L"Balloon", fakes::FakeTraylume::kDeferredDescription}},
      {[&] { return control.ShowIcon(); }, {E_ACCESSDENIED, L"ShowIcon", L"通知領域に表示できません。"}},
      {[&] { return control.HideIcon(); }, {E_OUTOFMEMORY, L"HideIcon", common::SystemMessage(E_OUTOFMEMORY)}},
      {[&] { return none.ShowIcon(); }, {E_POINTER, L"ShowIcon", component::texts::kNoControl}},
  };
  for (const auto& failure : failures) {
    SCOPED_TRACE(::testing::PrintToString(failure.expected.operation));
    // Error information left over from something else must not be taken for this failure's.
    common::ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(::CreateErrorInfo(create.put()), S_OK);
    create->SetDescription(const_cast<LPOLESTR>(L"古い説明"));
    common::ComPtr<IErrorInfo> stale;
    ASSERT_EQ(create.As(&stale), S_OK);
    ::SetErrorInfo(0, stale.get());

    const common::ComResult result = failure.call();
    EXPECT_EQ(result.hr, failure.expected.hr);
    EXPECT_EQ(result.operation, failure.expected.operation);
    EXPECT_EQ(result.description, failure.expected.description);
  }
  ::SetErrorInfo(0, nullptr);
}

// The raw shape of each kind of access, below what the fake's log shows.
class TraylumeInvokeShape : public testing_support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    recorder = common::make<binding_tests::InvokeRecorder>();
    control = Traylume(common::ComPtr<IDispatch>(static_cast<IDispatch*>(recorder.get())));
  }
  void TearDown() override {
    control = Traylume();
    recorder.reset();
    ComTest::TearDown();
  }

  common::ComPtr<binding_tests::InvokeRecorder> recorder;
  Traylume control;
};

TEST_F(TraylumeInvokeShape, PutsAreOneNamedValueGetsAndMethodsHaveNoArguments) {
  auto fake = fakes::MakeFakeTraylume();
  bool supported = false;
  V_VT(recorder->answer.get()) = VT_BOOL;
  V_BOOL(recorder->answer.get()) = VARIANT_TRUE;
  const struct {
    const char* what;
    std::function<common::ComResult()> call;
    DISPID id;
    WORD flags;
    UINT arguments;
    DISPID named;  // DISPID_UNKNOWN: no named argument
    const wchar_t* value;  // the one argument, as the fake's log writes values
    bool wantsResult;
  } shapes[] = {
      {"let long", [&] { return control.PutBalloonIcon(2); }, dispid::kBalloonIcon, DISPATCH_PROPERTYPUT, 1,
       DISPID_PROPERTYPUT, L"VT_I4 2", false},
      {"let Boolean", [&] { return control.PutBalloon(true); }, dispid::kBalloon, DISPATCH_PROPERTYPUT, 1,
       DISPID_PROPERTYPUT, L"VT_BOOL -1", false},
      {"set picture", [&] { return control.PutRefIcon(fake->icon.get()); }, dispid::kIcon, DISPATCH_PROPERTYPUTREF,
       1, DISPID_PROPERTYPUT, L"VT_DISPATCH", false},
      {"get", [&] { return control.GetBalloonSupported(&supported); }, dispid::kBalloonSupported,
       DISPATCH_PROPERTYGET, 0, DISPID_UNKNOWN, L"VT_EMPTY", true},
      {"method", [&] { return control.Refresh(); }, dispid::kRefresh, DISPATCH_METHOD, 0, DISPID_UNKNOWN,
       L"VT_EMPTY", false},
  };
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.what);
    ASSERT_TRUE(shape.call());
    EXPECT_EQ(recorder->id, shape.id);
    EXPECT_EQ(recorder->flags, shape.flags);
    EXPECT_EQ(recorder->argumentCount, shape.arguments);
    EXPECT_EQ(recorder->namedCount, shape.named == DISPID_UNKNOWN ? 0u : 1u);
    EXPECT_EQ(recorder->namedId, shape.named);
    EXPECT_EQ(fakes::Describe(*recorder->argument.get()), shape.value);
    EXPECT_EQ(recorder->wantedResult, shape.wantsResult);
    EXPECT_TRUE(recorder->gaveExcepInfo);
  }
  ASSERT_TRUE(control.PutRefIcon(fake->icon.get()));
  EXPECT_EQ(V_DISPATCH(recorder->argument.get()), static_cast<IDispatch*>(fake->icon.get()));
}

TEST_F(TraylumeInvokeShape, BalloonSupportedAcceptsAnyValueThatConvertsToBoolean) {
  bool supported = false;
  V_VT(recorder->answer.put()) = VT_I4;
  V_I4(recorder->answer.get()) = 5;
  ASSERT_TRUE(control.GetBalloonSupported(&supported));
  EXPECT_TRUE(supported);

  V_VT(recorder->answer.put()) = VT_I2;
  V_I2(recorder->answer.get()) = 0;
  ASSERT_TRUE(control.GetBalloonSupported(&supported));
  EXPECT_FALSE(supported);

  V_VT(recorder->answer.put()) = VT_BSTR;
  V_BSTR(recorder->answer.get()) = ::SysAllocString(L"not a Boolean");
  const common::ComResult result = control.GetBalloonSupported(&supported);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.operation, L"BalloonSupported");
}

TEST_F(TraylumeInvokeShape, IconMayComeAsUnknown) {
  auto fake = fakes::MakeFakeTraylume();
  V_VT(recorder->answer.get()) = VT_UNKNOWN;
  V_UNKNOWN(recorder->answer.get()) = common::ComPtr<IPictureDisp>(fake->icon).release();
  common::ComPtr<IPictureDisp> picture;
  ASSERT_TRUE(control.GetIcon(&picture));
  EXPECT_EQ(picture.get(), fake->icon.get());

  // An object that is not a picture is no icon.
  V_VT(recorder->answer.put()) = VT_DISPATCH;
  V_DISPATCH(recorder->answer.get()) = common::ComPtr<IDispatch>(static_cast<IDispatch*>(recorder.get())).release();
  const common::ComResult result = control.GetIcon(&picture);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.description, component::texts::kIconIsNotPicture);
  EXPECT_FALSE(picture);
  recorder->answer.reset();  // no cycle: the recorder held itself
}

}  // namespace

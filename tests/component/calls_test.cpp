// The program's typed calls: failures explained however the control explains
// them, and answers read as their types allow.
#include <gtest/gtest.h>

#include <functional>

#include "common/bstr.h"
#include "common/com_object.h"
#include "common/hresult.h"
#include "component/traylume_client.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_proxy.h"

namespace {

using CallsTest = support::ComTest;

// A control that fails each call its own way.
struct Failing final : common::ComObject<IDispatch> {
  std::function<HRESULT(EXCEPINFO*)> fail;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* info, UINT*) override {
    return fail(info);
  }
};

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* info) {
  info->bstrDescription = ::SysAllocString(L"後で説明");
  return S_OK;
}

// However a control explains a failure, the explanation is what the user reads.
TEST_F(CallsTest, AFailureSaysWhichMemberFailedAndWhyHoweverTheControlExplainsIt) {
  auto failing = common::make<Failing>();
  const component::Traylume traylume{common::ComPtr<IDispatch>(failing.get())};
  const std::pair<std::function<HRESULT(EXCEPINFO*)>, std::wstring> cases[] = {
      {[](EXCEPINFO*) { return E_ACCESSDENIED; }, common::SystemMessage(E_ACCESSDENIED)},
      {[](EXCEPINFO* e) {
         e->scode = E_ACCESSDENIED;
         return DISP_E_EXCEPTION;
       },
       common::SystemMessage(E_ACCESSDENIED)},
      {[](EXCEPINFO* e) {
         e->pfnDeferredFillIn = &FillInLater;
         return DISP_E_EXCEPTION;
       },
       L"後で説明"},
      {[](EXCEPINFO*) {
         common::ComPtr<ICreateErrorInfo> made;
         common::ComPtr<IErrorInfo> info;
         ::CreateErrorInfo(made.put());
         made->SetDescription(const_cast<LPOLESTR>(L"別の説明"));
         made.As(&info);
         ::SetErrorInfo(0, info.get());
         return E_FAIL;
       },
       L"別の説明"},
  };
  for (const auto& [fail, said] : cases) {
    failing->fail = fail;
    const common::ComResult result = traylume.ShowIcon();
    EXPECT_EQ(result.operation, L"ShowIcon");
    EXPECT_EQ(result.description, said) << &fail - &cases[0].first;
  }
  EXPECT_EQ(component::Traylume().ShowIcon().hr, E_POINTER) << "no control";
}

// Answers a control may give: BalloonSupported anything that converts to a
// Boolean, Icon a picture however it is passed; anything else is refused.
TEST_F(CallsTest, AnswersAreReadAsTheirTypesAllowAndOthersAreRefused) {
  common::ComPtr<IDispatch> real;
  ASSERT_EQ(support::CreateControl(&real), S_OK);
  auto proxy = common::make<support::RecordingProxy>(real);
  const component::Traylume traylume{common::ComPtr<IDispatch>(proxy.get())};
  auto picture = support::SolidIconPicture(RGB(0, 0, 1));
  common::UniqueBstr no(L"False");
  VARIANT cTrue = support::Value(VT_BOOL);
  VARIANT asUnknown = support::Value(VT_UNKNOWN);
  VARIANT nothing = support::Value(VT_DISPATCH);
  V_BOOL(&cTrue) = 1;  // a C or C++ control's TRUE
  V_UNKNOWN(&asUnknown) = picture.get();
  V_DISPATCH(&nothing) = nullptr;
  const struct {
    VARIANT answer;
    int balloon;  // -1: refused
    bool picture;
  } answers[] = {{support::Text(no.get()), 0, false},  {support::I4(5), 1, false},       {cTrue, 1, false},
                 {support::Value(VT_EMPTY), 0, false}, {asUnknown, -1, true},            {nothing, -1, false},
                 {support::Object(real.get()), -1, false}};
  for (const auto& a : answers) {
    const size_t row = &a - answers;
    proxy->Answer(L"BalloonSupported", a.answer);
    proxy->Answer(L"Icon", a.answer);
    bool supported = a.balloon != 1;
    EXPECT_EQ(traylume.GetBalloonSupported(&supported).ok(), a.balloon >= 0) << row;
    EXPECT_EQ(supported, a.balloon == 1) << row;
    common::ComPtr<IPictureDisp> icon;
    EXPECT_EQ(traylume.GetIcon(&icon).ok(), a.picture) << row;
    EXPECT_EQ(icon.get() == picture.get(), a.picture) << row;
  }
}

}  // namespace

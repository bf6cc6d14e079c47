// The helpers everything else rests on: Invoke's arguments, the COM
// pointer's references, the failure macros, system texts and the EXCEPINFO owner.
#include <gtest/gtest.h>

#include "common/com_ptr.h"
#include "common/dispatch_args.h"
#include "common/excep_info.h"
#include "common/hresult.h"
#include "common/text.h"
#include "tests/support/automation.h"

namespace {

TEST(DispatchArgs, ArgumentsAreCheckedAndFoundInOrder) {
  VARIANT values[3];
  for (int i = 0; i < 3; ++i) V_VT(&values[i]) = VT_I4, V_I4(&values[i]) = 3 - i;  // rgvarg holds the last first
  DISPID named = DISPID_PROPERTYPUT;
  const DISPPARAMS three{values, nullptr, 3, 0}, fine{values, &named, 1, 1};
  EXPECT_EQ(V_I4(common::PositionalArgument(three, 2)), 3);
  EXPECT_EQ(common::CheckParams(nullptr), S_OK);
  EXPECT_EQ(common::CheckParams(&fine), S_OK);
  const DISPPARAMS noValues{nullptr, nullptr, 1, 0}, moreNamedThanAll{values, &named, 1, 2}, noNames{values, nullptr, 1, 1};
  for (const DISPPARAMS& bad : {noValues, moreNamedThanAll, noNames}) EXPECT_EQ(common::CheckParams(&bad), E_INVALIDARG);
}

TEST(DispatchArgs, APropertyPutTakesExactlyItsOneValue) {
  VARIANT values[2], missing;
  V_VT(&values[0]) = V_VT(&values[1]) = VT_I4;
  V_VT(&missing) = VT_ERROR, V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  DISPID names[] = {DISPID_PROPERTYPUT, 1};
  const struct {
    const char* name;
    DISPPARAMS params;
    HRESULT expected;
    UINT argError;
  } cases[] = {
      {"named", {values, names, 1, 1}, S_OK, 99},          {"positional", {values, nullptr, 1, 0}, S_OK, 99},
      {"none", {nullptr, nullptr, 0, 0}, DISP_E_PARAMNOTOPTIONAL, 99}, {"two", {values, nullptr, 2, 0}, DISP_E_BADPARAMCOUNT, 99},
      {"wrong name", {values, names + 1, 1, 1}, DISP_E_PARAMNOTFOUND, 0},
      {"second name wrong", {values, names, 2, 2}, DISP_E_PARAMNOTFOUND, 1},
      {"marked missing", {&missing, names, 1, 1}, DISP_E_PARAMNOTOPTIONAL, 0},
  };
  for (const auto& c : cases) {
    const VARIANT* value = nullptr;
    UINT argError = 99;
    EXPECT_EQ(common::PropertyPutArgument(c.params, &value, &argError), c.expected) << c.name;
    EXPECT_EQ(argError, c.argError) << c.name;
    EXPECT_EQ(value, c.expected == S_OK ? &values[0] : nullptr) << c.name;
  }
}

// A failure is passed on by the macro, and no exception gets out of NoThrow.
HRESULT PassOn(HRESULT hr) {
  RETURN_IF_FAILED(hr);
  return S_FALSE;
}

TEST(FailureMacros, AFailureIsPassedOnAndNoExceptionGetsOut) {
  EXPECT_EQ(PassOn(S_OK), S_FALSE);
  EXPECT_EQ(PassOn(E_ACCESSDENIED), E_ACCESSDENIED);
  EXPECT_EQ(common::NoThrow([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
}

// Every owner holds exactly one reference: copies, moves, assignments
// (to itself too), out-parameters and queries.
TEST(ComPtr, EveryOwnerHoldsExactlyOneReference) {
  auto object = common::make<support::Bystander>();
  IDispatch* raw = object.get();
  auto references = [raw] { return raw->AddRef(), raw->Release(); };
  {
    common::ComPtr<IDispatch> first(raw), second, third;
    second = first;
    const common::ComPtr<IDispatch>& same = second;
    second = same;
    EXPECT_EQ(references(), 3u);
    third = std::move(first);
    EXPECT_FALSE(first);
    third = second;
    EXPECT_EQ(references(), 3u) << "the value a pointer had is let go";
    common::ComPtr<IUnknown> unknown;
    ASSERT_EQ(third.As(&unknown), S_OK);
    EXPECT_EQ(references(), 4u);
    unknown.put();
    EXPECT_EQ(references(), 3u) << "a pointer lets go before it is filled again";
    EXPECT_EQ(common::ComPtr<IDispatch>().As(&unknown), E_POINTER);
    IDispatch* out = nullptr;
    ASSERT_EQ(third.CopyTo(&out), S_OK);
    const auto adopted = common::ComPtr<IDispatch>::Adopt(out);
    EXPECT_EQ(references(), 4u);
  }
  EXPECT_EQ(references(), 1u);
}

// A system text without its line break; none for a code the system does not know.
TEST(SystemMessage, IsTheSystemsTextWithoutItsLineBreak) {
  const std::wstring text = common::SystemMessage(E_ACCESSDENIED);
  EXPECT_TRUE(!text.empty() && text.find_first_of(L"\r\n") == std::wstring::npos) << common::Utf8(text);
  EXPECT_EQ(common::SystemMessage(0x8FFF1234), L"");
  ::SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(common::LastErrorHr(), E_FAIL) << "a failed call without an error must not read as success";
}

HRESULT STDAPICALLTYPE FillLater(EXCEPINFO* info) { return info->bstrDescription = ::SysAllocString(L"後で"), S_OK; }

TEST(ExcepInfo, DeferredTextIsFilledInAndTheCodeComesFromEitherField) {
  common::UniqueExcepInfo info;
  info.get()->pfnDeferredFillIn = &FillLater;
  info.get()->wCode = 5;
  info.Complete();
  EXPECT_EQ(info.description(), L"後で");
  EXPECT_EQ(info.get()->pfnDeferredFillIn, nullptr) << "it would be filled in twice";
  EXPECT_EQ(info.code(), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, 5));
  info.get()->scode = E_ACCESSDENIED;
  EXPECT_EQ(info.code(), E_ACCESSDENIED);
}

}  // namespace

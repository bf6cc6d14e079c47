// The helpers everything else rests on: Invoke's arguments, name lookup,
// the failure hook and the EXCEPINFO owner.
#include <gtest/gtest.h>

#include <string>

#include "common/dispatch_args.h"
#include "common/excep_info.h"
#include "common/hresult.h"

namespace {

VARIANT Number(long n) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}

TEST(DispatchArgs, MalformedParametersAreRefused) {
  VARIANT one = Number(1);
  DISPID named = DISPID_PROPERTYPUT;
  EXPECT_EQ(common::CheckParams(nullptr), S_OK);
  const DISPPARAMS fine{&one, &named, 1, 1};
  EXPECT_EQ(common::CheckParams(&fine), S_OK);
  const DISPPARAMS noValues{nullptr, nullptr, 1, 0};
  const DISPPARAMS moreNamedThanAll{&one, &named, 1, 2};
  const DISPPARAMS noNames{&one, nullptr, 1, 1};
  for (const DISPPARAMS& bad : {noValues, moreNamedThanAll, noNames}) EXPECT_EQ(common::CheckParams(&bad), E_INVALIDARG);
}

TEST(DispatchArgs, PositionalArgumentsCountFromTheFirstDeclared) {
  VARIANT values[] = {Number(3), Number(2), Number(1)};  // rgvarg holds the last first
  const DISPPARAMS params{values, nullptr, 3, 0};
  EXPECT_EQ(V_I4(common::PositionalArgument(params, 0)), 1);
  EXPECT_EQ(V_I4(common::PositionalArgument(params, 2)), 3);
  EXPECT_EQ(common::PositionalArgument(params, 3), nullptr);
}

TEST(DispatchArgs, APropertyPutTakesExactlyItsOneValue) {
  VARIANT values[] = {Number(5), Number(6)};
  VARIANT missing;
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  DISPID names[] = {DISPID_PROPERTYPUT, 1};
  const struct {
    const char* name;
    DISPPARAMS params;
    HRESULT expected;
    UINT argError;
  } cases[] = {
      {"named", {values, names, 1, 1}, S_OK, 99},
      {"positional", {values, nullptr, 1, 0}, S_OK, 99},
      {"none", {nullptr, nullptr, 0, 0}, DISP_E_PARAMNOTOPTIONAL, 99},
      {"two", {values, nullptr, 2, 0}, DISP_E_BADPARAMCOUNT, 99},
      {"wrong name", {values, names + 1, 1, 1}, DISP_E_PARAMNOTFOUND, 0},
      {"second name wrong", {values, names, 2, 2}, DISP_E_PARAMNOTFOUND, 1},
      {"marked missing", {&missing, names, 1, 1}, DISP_E_PARAMNOTOPTIONAL, 0},
  };
  for (const auto& c : cases) {
    const VARIANT* value = nullptr;
    UINT argError = 99;
    EXPECT_EQ(common::PropertyPutArgument(c.params, &value, &argError), c.expected) << c.name;
    EXPECT_EQ(argError, c.argError) << c.name;
    if (c.expected == S_OK) {
      EXPECT_EQ(value, &values[0]) << c.name;
    }
  }
}

TEST(DispatchArgs, NamesAreFoundWithoutRegardToCase) {
  const struct Row {
    const wchar_t* name;
    DISPID id;
  } rows[] = {{L"ShowIcon", 7}, {L"HideIcon", 8}};
  wchar_t hide[] = L"hIDEiCON", other[] = L"Button", show[] = L"SHOWICON";
  LPOLESTR one[] = {hide};
  DISPID ids[2] = {};
  EXPECT_EQ(common::IdsOfNames(rows, IID_NULL, one, 1, ids), S_OK);
  EXPECT_EQ(ids[0], 8);
  LPOLESTR withParameter[] = {show, other};
  EXPECT_EQ(common::IdsOfNames(rows, IID_NULL, withParameter, 2, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 7);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  LPOLESTR unknown[] = {other};
  EXPECT_EQ(common::IdsOfNames(rows, IID_NULL, unknown, 1, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
  EXPECT_EQ(common::IdsOfNames(rows, IID_IDispatch, one, 1, ids), DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(common::IdsOfNames(rows, IID_NULL, one, 0, ids), E_INVALIDARG);
}

// The failure hook sees what the macros return, with their place.
struct Reported {
  std::string file;
  int line = 0;
  HRESULT hr = S_OK;
  int count = 0;
} reported;

void Record(const char* file, int line, HRESULT hr) { reported = {file, line, hr, reported.count + 1}; }

int passOnLine = 0;

HRESULT PassOn(HRESULT hr) {
  passOnLine = __LINE__ + 1;
  RETURN_IF_FAILED(hr);
  return S_FALSE;
}

TEST(FailureHook, EveryFailureGoesToTheHookWithItsPlace) {
  const common::FailureHook previous = common::SetFailureHook(&Record);
  reported = {};
  EXPECT_EQ(PassOn(S_OK), S_FALSE);
  EXPECT_EQ(reported.count, 0);
  EXPECT_EQ(PassOn(E_ACCESSDENIED), E_ACCESSDENIED);
  EXPECT_EQ(reported.count, 1);
  EXPECT_EQ(reported.hr, E_ACCESSDENIED);
  EXPECT_EQ(reported.line, passOnLine);
  EXPECT_NE(reported.file.find("helpers_test.cpp"), std::string::npos);
  EXPECT_EQ(common::NoThrow([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(common::SetFailureHook(previous), &Record);
}

HRESULT STDAPICALLTYPE FillLater(EXCEPINFO* info) {
  info->bstrDescription = ::SysAllocString(L"後で");
  return S_OK;
}

TEST(ExcepInfo, DeferredTextIsFilledInAndTheCodeComesFromEitherField) {
  common::UniqueExcepInfo info;
  info.get()->pfnDeferredFillIn = &FillLater;
  info.get()->wCode = 5;
  info.Complete();
  EXPECT_EQ(info.description(), L"後で");
  EXPECT_EQ(info.code(), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, 5));
  info.get()->scode = E_ACCESSDENIED;
  EXPECT_EQ(info.code(), E_ACCESSDENIED);
  info.reset();
  EXPECT_EQ(info.description(), L"");
  EXPECT_EQ(info.code(), S_OK);
}

}  // namespace

// Reading Invoke's arguments: DISPPARAMS checked for their shape, positional
// arguments found from the end of rgvarg, and a put's one value.
#include <gtest/gtest.h>

#include "common/dispatch_args.h"
#include "tests/support/automation.h"

namespace {

TEST(DispatchArgs, ParamsOfTheWrongShapeAreRefused) {
  VARIANT value = support::I4(1);
  DISPID named = DISPID_PROPERTYPUT;
  const DISPPARAMS fine{&value, &named, 1, 1};
  const std::pair<const char*, DISPPARAMS> bad[] = {
      {"no values", {nullptr, nullptr, 1, 0}},
      {"more named than all", {&value, &named, 1, 2}},
      {"no names", {&value, nullptr, 1, 1}},
  };
  EXPECT_EQ(common::CheckParams(nullptr), S_OK);
  EXPECT_EQ(common::CheckParams(&fine), S_OK);
  for (const auto& [name, params] : bad) EXPECT_EQ(common::CheckParams(&params), E_INVALIDARG) << name;
}

// rgvarg holds the last argument first, and the named ones before them all.
TEST(DispatchArgs, APositionalArgumentIsFoundFromTheEndAndNoneLiesPastTheLast) {
  VARIANT values[3] = {support::I4(30), support::I4(20), support::I4(10)};  // declared 10, 20, 30
  DISPID named = 7;
  const struct {
    const char* name;
    DISPPARAMS params;
    UINT index;
    const VARIANT* expected;
  } cases[] = {
      {"first", {values, nullptr, 3, 0}, 0, &values[2]},
      {"last", {values, nullptr, 3, 0}, 2, &values[0]},
      {"just past the last", {values, nullptr, 3, 0}, 3, nullptr},
      {"first beside a named one", {values, &named, 3, 1}, 0, &values[2]},
      {"where the named one lies", {values, &named, 3, 1}, 2, nullptr},
  };
  for (const auto& c : cases) EXPECT_EQ(common::PositionalArgument(c.params, c.index), c.expected) << c.name;
}

TEST(DispatchArgs, APropertyPutTakesExactlyItsOneValue) {
  VARIANT values[2] = {support::I4(1), support::I4(2)};
  VARIANT missing = support::Value(VT_ERROR);
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
    EXPECT_EQ(value, c.expected == S_OK ? &values[0] : nullptr) << c.name;
  }
}

}  // namespace

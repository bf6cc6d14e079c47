// Reading VARIANTs that come from outside: what is taken, converted or refused.
#include <gtest/gtest.h>

#include "common/com_object.h"
#include "common/foreign_variant.h"
#include "tests/support/automation.h"

namespace {

VARIANT Make(VARTYPE type, void* reference = nullptr) {
  VARIANT v;
  V_VT(&v) = type;
  V_BYREF(&v) = reference;
  return v;
}

TEST(ForeignVariant, ScalarsAreTakenByValueOrThroughAnyChainOfReferencesAndConverted) {
  LONG number = 7;
  VARIANT direct = Make(VT_I4 | VT_BYREF, &number);
  VARIANT once = Make(VT_VARIANT | VT_BYREF, &direct);
  VARIANT twice = Make(VT_VARIANT | VT_BYREF, &once);
  VARIANT nothing = Make(VT_BSTR);
  VARIANT big = Make(VT_R8);
  V_R8(&big) = 1e20;
  common::UniqueVariant value;
  for (const VARIANT* source : {&direct, &once, &twice}) {
    ASSERT_EQ(common::ReadScalar(*source, VT_I4, &value), S_OK);
    EXPECT_EQ(V_I4(value.get()), 7);
  }
  ASSERT_EQ(common::ReadScalar(twice, VT_BSTR, &value), S_OK);
  EXPECT_STREQ(V_BSTR(value.get()), L"7");
  ASSERT_EQ(common::ReadScalar(nothing, VT_BSTR, &value), S_OK);  // a NULL BSTR is the empty string
  ASSERT_NE(V_BSTR(value.get()), nullptr);
  EXPECT_EQ(::SysStringLen(V_BSTR(value.get())), 0u);
  EXPECT_EQ(common::ReadScalar(big, VT_I4, &value), DISP_E_OVERFLOW);
}

TEST(ForeignVariant, WhatIsNoScalarIsRefusedWithoutReadingItAndLeavesNothing) {
  auto object = common::make<support::Bystander>();
  IUnknown* objectPointer = object.get();
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_I4, 0, 1);
  BSTR words = ::SysAllocString(L"not a number");
  VARIANT objectValue = Make(VT_DISPATCH, object.get());
  VARIANT objectRef = Make(VT_UNKNOWN | VT_BYREF, &objectPointer);
  VARIANT viaVariant = Make(VT_VARIANT | VT_BYREF, &objectValue);
  VARIANT arrayValue = Make(VT_ARRAY | VT_I4, array);
  VARIANT loop = Make(VT_VARIANT | VT_BYREF);
  VARIANT text = Make(VT_BSTR, words);
  V_VARIANTREF(&loop) = &loop;
  const struct {
    const char* name;
    VARIANT source;
    HRESULT expected;
  } cases[] = {
      {"object", objectValue, DISP_E_TYPEMISMATCH},          {"object by reference", objectRef, DISP_E_TYPEMISMATCH},
      {"object in a variant", viaVariant, DISP_E_TYPEMISMATCH}, {"array", arrayValue, DISP_E_TYPEMISMATCH},
      {"null reference", Make(VT_I4 | VT_BYREF), DISP_E_TYPEMISMATCH},
      {"null variant reference", Make(VT_VARIANT | VT_BYREF), DISP_E_TYPEMISMATCH},
      {"loop", loop, DISP_E_TYPEMISMATCH},                   {"record", Make(VT_RECORD), DISP_E_TYPEMISMATCH},
      {"words for a number", text, DISP_E_TYPEMISMATCH},     {"vector", Make(VT_VECTOR | VT_I4), DISP_E_BADVARTYPE},
      {"no such type", Make(0x07FF), DISP_E_BADVARTYPE},     {"bare VT_VARIANT", Make(VT_VARIANT), DISP_E_BADVARTYPE},
  };
  for (const auto& c : cases) {
    common::UniqueVariant value;
    V_VT(value.get()) = VT_I4;  // anything left from before goes
    EXPECT_EQ(common::ReadScalar(c.source, VT_I4, &value), c.expected) << c.name;
    EXPECT_EQ(value.type(), VT_EMPTY) << c.name;
  }
  EXPECT_EQ(support::Bystander::invoked, 0) << "a default member was read";
  ::SafeArrayDestroy(array);
  ::SysFreeString(words);
}

TEST(ForeignVariant, ObjectsAreTakenAsTheyAreAndNothingIsNull) {
  auto object = common::make<support::Bystander>();
  IUnknown* unknown = object.get();
  VARIANT byValue = Make(VT_DISPATCH, object.get());
  VARIANT byReference = Make(VT_UNKNOWN | VT_BYREF, &unknown);
  VARIANT viaVariant = Make(VT_VARIANT | VT_BYREF, &byReference);
  common::ComPtr<IUnknown> found;
  for (const VARIANT* source : {&byValue, &byReference, &viaVariant}) {
    ASSERT_EQ(common::ReadObject(*source, &found), S_OK);
    EXPECT_EQ(found.get(), unknown);
  }
  EXPECT_EQ(common::ReadObject(Make(VT_DISPATCH), &found), S_OK);
  EXPECT_FALSE(found);
  EXPECT_EQ(common::ReadObject(Make(VT_EMPTY), &found), S_OK);
  EXPECT_EQ(common::ReadObject(Make(VT_I4), &found), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(common::ReadObject(Make(VT_DISPATCH | VT_BYREF), &found), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(support::Bystander::invoked, 0);
}

TEST(ForeignVariant, MissingIsTheMarkerOnly) {
  VARIANT missing = Make(VT_ERROR);
  VARIANT otherError = Make(VT_ERROR);
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  V_ERROR(&otherError) = E_FAIL;
  EXPECT_TRUE(common::IsMissing(Make(VT_VARIANT | VT_BYREF, &missing)));
  EXPECT_FALSE(common::IsMissing(otherError));
}

}  // namespace

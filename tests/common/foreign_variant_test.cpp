// Reading VARIANTs that come from outside: what is taken, converted or refused.
#include <gtest/gtest.h>

#include "common/com_object.h"
#include "common/foreign_variant.h"

namespace {

// An object that fails the test if anyone reads its default member.
class Watched final : public common::ComObject<IDispatch> {
 public:
  int invoked = 0;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
    ++invoked;
    if (result) V_VT(result) = VT_I4, V_I4(result) = 42;
    return S_OK;
  }
};

VARIANT Make(VARTYPE type, void* reference = nullptr) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = type;
  V_BYREF(&v) = reference;
  return v;
}

TEST(ForeignVariant, ScalarsAreTakenByValueAndThroughAnyChainOfReferences) {
  LONG number = 7;
  VARIANT direct = Make(VT_I4 | VT_BYREF, &number);
  VARIANT once = Make(VT_VARIANT | VT_BYREF, &direct);
  VARIANT twice = Make(VT_VARIANT | VT_BYREF, &once);
  for (const VARIANT* source : {&direct, &once, &twice}) {
    common::UniqueVariant value;
    ASSERT_EQ(common::ReadScalar(*source, VT_I4, &value), S_OK);
    EXPECT_EQ(V_I4(value.get()), 7);
  }
  common::UniqueVariant text;
  ASSERT_EQ(common::ReadScalar(twice, VT_BSTR, &text), S_OK);
  EXPECT_STREQ(V_BSTR(text.get()), L"7");

  VARIANT nothing = Make(VT_BSTR);  // a NULL BSTR is the empty string
  ASSERT_EQ(common::ReadScalar(nothing, VT_BSTR, &text), S_OK);
  EXPECT_EQ(::SysStringLen(V_BSTR(text.get())), 0u);
  EXPECT_NE(V_BSTR(text.get()), nullptr);
}

TEST(ForeignVariant, WhatIsNoScalarIsRefusedWithoutReadingItAndLeavesNothing) {
  auto object = common::make<Watched>();
  IUnknown* objectPointer = object.get();
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_I4, 0, 1);
  VARIANT objectValue = Make(VT_DISPATCH, object.get());
  VARIANT objectRef = Make(VT_UNKNOWN | VT_BYREF, &objectPointer);
  VARIANT viaVariant = Make(VT_VARIANT | VT_BYREF, &objectValue);
  VARIANT arrayValue = Make(VT_ARRAY | VT_I4, array);
  VARIANT nullRef = Make(VT_I4 | VT_BYREF);
  VARIANT nullInner = Make(VT_BSTR | VT_BYREF);
  VARIANT refToNullRef = Make(VT_VARIANT | VT_BYREF, &nullInner);
  VARIANT nullVariantRef = Make(VT_VARIANT | VT_BYREF);
  VARIANT loop = Make(VT_VARIANT | VT_BYREF);
  V_VARIANTREF(&loop) = &loop;
  VARIANT record = Make(VT_RECORD);
  VARIANT vector = Make(VT_VECTOR | VT_I4);
  VARIANT unknownType = Make(0x07FF);
  VARIANT bareVariant = Make(VT_VARIANT);
  const struct {
    const char* name;
    const VARIANT* source;
    HRESULT expected;
  } cases[] = {
      {"object", &objectValue, DISP_E_TYPEMISMATCH},         {"object by reference", &objectRef, DISP_E_TYPEMISMATCH},
      {"object in a variant", &viaVariant, DISP_E_TYPEMISMATCH}, {"array", &arrayValue, DISP_E_TYPEMISMATCH},
      {"null reference", &nullRef, DISP_E_TYPEMISMATCH},      {"reference to a null reference", &refToNullRef, DISP_E_TYPEMISMATCH},
      {"null variant reference", &nullVariantRef, DISP_E_TYPEMISMATCH}, {"loop", &loop, DISP_E_TYPEMISMATCH},
      {"record", &record, DISP_E_TYPEMISMATCH},              {"vector", &vector, DISP_E_BADVARTYPE},
      {"no such type", &unknownType, DISP_E_BADVARTYPE},      {"bare VT_VARIANT", &bareVariant, DISP_E_BADVARTYPE},
  };
  for (const auto& c : cases) {
    common::UniqueVariant value;
    V_VT(value.get()) = VT_I4;  // anything left from before goes
    EXPECT_EQ(common::ReadScalar(*c.source, VT_I4, &value), c.expected) << c.name;
    EXPECT_EQ(value.type(), VT_EMPTY) << c.name;
  }
  EXPECT_EQ(object->invoked, 0) << "a default member was read";
  ::SafeArrayDestroy(array);
}

TEST(ForeignVariant, ConversionsThatDoNotFitFail) {
  VARIANT big = Make(VT_R8);
  V_R8(&big) = 1e20;
  BSTR words = ::SysAllocString(L"not a number");
  VARIANT text = Make(VT_BSTR, words);
  common::UniqueVariant value;
  EXPECT_EQ(common::ReadScalar(big, VT_I4, &value), DISP_E_OVERFLOW);
  EXPECT_EQ(common::ReadScalar(text, VT_I4, &value), DISP_E_TYPEMISMATCH);
  ::SysFreeString(words);
}

TEST(ForeignVariant, ObjectsAreTakenAsTheyAreAndNothingIsNull) {
  auto object = common::make<Watched>();
  IUnknown* unknown = object.get();
  VARIANT byValue = Make(VT_DISPATCH, object.get());
  VARIANT byReference = Make(VT_UNKNOWN | VT_BYREF, &unknown);
  VARIANT viaVariant = Make(VT_VARIANT | VT_BYREF, &byReference);
  for (const VARIANT* source : {&byValue, &byReference, &viaVariant}) {
    common::ComPtr<IUnknown> found;
    ASSERT_EQ(common::ReadObject(*source, &found), S_OK);
    EXPECT_TRUE(found);
  }
  common::ComPtr<IUnknown> found;
  EXPECT_EQ(common::ReadObject(Make(VT_DISPATCH), &found), S_OK);
  EXPECT_FALSE(found);
  EXPECT_EQ(common::ReadObject(Make(VT_EMPTY), &found), S_OK);
  VARIANT number = Make(VT_I4);
  EXPECT_EQ(common::ReadObject(number, &found), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(common::ReadObject(Make(VT_DISPATCH | VT_BYREF), &found), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(object->invoked, 0);
}

TEST(ForeignVariant, MissingIsTheParamNotFoundMarkerOnly) {
  VARIANT missing = Make(VT_ERROR);
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  VARIANT viaVariant = Make(VT_VARIANT | VT_BYREF, &missing);
  VARIANT otherError = Make(VT_ERROR);
  V_ERROR(&otherError) = E_FAIL;
  EXPECT_TRUE(common::IsMissing(missing));
  EXPECT_TRUE(common::IsMissing(viaVariant));
  EXPECT_FALSE(common::IsMissing(otherError));
  EXPECT_FALSE(common::IsMissing(Make(VT_EMPTY)));
}

}  // namespace

// The property bag that carries the saved state: exactly four keys, each
// with its own type unless the control asks for another.

#include <gtest/gtest.h>

#include <olectl.h>

#include "common/com_object.h"
#include "common/variant.h"
#include "component/property_bag.h"
#include "tests/support/com_test.h"
#include "tests/support/fake_traylume.h"

namespace {

class PropertyBagTest : public testing_support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    picture = fakes::MakeFakeTraylume();
    traylume::SavedState state;
    state.icon = picture->icon;
    state.toolTipText = L"ツールチップのテストです。";
    bag = common::make<traylume::PropertyBag>(state);
  }
  void TearDown() override {
    bag.reset();
    picture.reset();
    ComTest::TearDown();
  }

  HRESULT Read(const wchar_t* key, VARTYPE wanted, common::UniqueVariant* value) {
    VARIANT* slot = value->put();
    V_VT(slot) = wanted;
    return bag->Read(key, slot, nullptr);
  }

  common::ComPtr<fakes::FakeTraylume> picture;
  common::ComPtr<traylume::PropertyBag> bag;
};

TEST_F(PropertyBagTest, AnswersTheFourKeysWithTheirTypes) {
  common::UniqueVariant value;
  ASSERT_EQ(Read(L"_extentx", VT_EMPTY, &value), S_OK);
  EXPECT_EQ(value.type(), VT_I4);
  EXPECT_EQ(V_I4(value.get()), 847);
  ASSERT_EQ(Read(L"_extenty", VT_EMPTY, &value), S_OK);
  EXPECT_EQ(value.type(), VT_I4);
  EXPECT_EQ(V_I4(value.get()), 847);
  ASSERT_EQ(Read(L"icon", VT_EMPTY, &value), S_OK);
  ASSERT_EQ(value.type(), VT_DISPATCH);
  EXPECT_EQ(V_DISPATCH(value.get()), static_cast<IDispatch*>(picture->icon.get()));
  ASSERT_EQ(Read(L"tooltiptext", VT_EMPTY, &value), S_OK);
  ASSERT_EQ(value.type(), VT_BSTR);
  EXPECT_STREQ(V_BSTR(value.get()), L"ツールチップのテストです。");
  EXPECT_EQ(::SysStringLen(V_BSTR(value.get())), 13u);
}

TEST_F(PropertyBagTest, AnythingElseIsNotThere) {
  common::UniqueVariant value;
  for (const wchar_t* key : {L"", L"_extent", L"icons", L"ToolTip", L"balloon", L"autorefresh"}) {
    EXPECT_EQ(Read(key, VT_EMPTY, &value), E_INVALIDARG) << key;
  }
  EXPECT_EQ(bag->Read(nullptr, value.get(), nullptr), E_POINTER);
  EXPECT_EQ(bag->Read(L"icon", nullptr, nullptr), E_POINTER);
}

TEST_F(PropertyBagTest, KeysMatchWithoutRegardToCase) {
  common::UniqueVariant value;
  EXPECT_EQ(Read(L"_ExtentX", VT_EMPTY, &value), S_OK);
  EXPECT_EQ(Read(L"ToolTipText", VT_EMPTY, &value), S_OK);
}

TEST_F(PropertyBagTest, ConvertsToTheTypeAskedFor) {
  common::UniqueVariant value;
  ASSERT_EQ(Read(L"_extentx", VT_I2, &value), S_OK);
  EXPECT_EQ(value.type(), VT_I2);
  EXPECT_EQ(V_I2(value.get()), 847);
  ASSERT_EQ(Read(L"_extenty", VT_BSTR, &value), S_OK);
  ASSERT_EQ(value.type(), VT_BSTR);
  EXPECT_STREQ(V_BSTR(value.get()), L"847");
  ASSERT_EQ(Read(L"icon", VT_UNKNOWN, &value), S_OK);
  EXPECT_EQ(value.type(), VT_UNKNOWN);
  EXPECT_TRUE(V_UNKNOWN(value.get()));
  EXPECT_EQ(Read(L"tooltiptext", VT_I4, &value), DISP_E_TYPEMISMATCH);
}

TEST_F(PropertyBagTest, WithoutASavedPictureThereIsNoIcon) {
  auto empty = common::make<traylume::PropertyBag>(traylume::SavedState());
  common::UniqueVariant value;
  EXPECT_EQ(empty->Read(L"icon", value.get(), nullptr), E_INVALIDARG);
  EXPECT_EQ(value.type(), VT_EMPTY);
}

TEST_F(PropertyBagTest, NothingIsWrittenBack) {
  common::UniqueVariant value;
  EXPECT_EQ(bag->Write(L"tooltiptext", value.get()), E_NOTIMPL);
}

}  // namespace

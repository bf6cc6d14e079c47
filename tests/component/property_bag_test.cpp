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
    component::SavedState state;
    state.icon = picture->icon;
    state.toolTipText = L"ツールチップのテストです。";
    bag = common::make<component::PropertyBag>(state);
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
  common::ComPtr<component::PropertyBag> bag;
};

TEST_F(PropertyBagTest, AnswersTheFourKeysWithTheirTypesOrTheTypeAskedFor) {
  const struct {
    const wchar_t* key;
    VARTYPE wanted;  // VT_EMPTY: the value's own type
    HRESULT expected;
    const wchar_t* value;  // as the fake's log writes values
  } reads[] = {
      {L"_extentx", VT_EMPTY, S_OK, L"VT_I4 847"},
      {L"_extenty", VT_EMPTY, S_OK, L"VT_I4 847"},
      {L"icon", VT_EMPTY, S_OK, L"VT_DISPATCH"},
      {L"tooltiptext", VT_EMPTY, S_OK, L"VT_BSTR ツールチップのテストです。"},
      {L"_ExtentX", VT_I2, S_OK, L"VT_I2 847"},  // keys match without regard to case
      {L"_extenty", VT_BSTR, S_OK, L"VT_BSTR 847"},
      {L"icon", VT_UNKNOWN, S_OK, L"VT_UNKNOWN"},
      {L"ToolTipText", VT_EMPTY, S_OK, L"VT_BSTR ツールチップのテストです。"},
      {L"tooltiptext", VT_I4, DISP_E_TYPEMISMATCH, nullptr},
      {L"", VT_EMPTY, E_INVALIDARG, nullptr},
      {L"_extent", VT_EMPTY, E_INVALIDARG, nullptr},
      {L"icons", VT_EMPTY, E_INVALIDARG, nullptr},
      {L"ToolTip", VT_EMPTY, E_INVALIDARG, nullptr},
      {L"balloon", VT_EMPTY, E_INVALIDARG, nullptr},
      {L"autorefresh", VT_EMPTY, E_INVALIDARG, nullptr},
  };
  for (const auto& read : reads) {
    SCOPED_TRACE(::testing::PrintToString(read.key) + " as vt " + std::to_string(read.wanted));
    common::UniqueVariant value;
    ASSERT_EQ(Read(read.key, read.wanted, &value), read.expected);
    if (read.value) {
      EXPECT_EQ(fakes::Describe(*value.get()), read.value);
    }
  }
  common::UniqueVariant value;
  ASSERT_EQ(Read(L"icon", VT_EMPTY, &value), S_OK);
  EXPECT_EQ(V_DISPATCH(value.get()), static_cast<IDispatch*>(picture->icon.get()));
  EXPECT_EQ(bag->Read(nullptr, value.get(), nullptr), E_POINTER);
  EXPECT_EQ(bag->Read(L"icon", nullptr, nullptr), E_POINTER);
}

TEST_F(PropertyBagTest, WithoutASavedPictureThereIsNoIcon) {
  auto empty = common::make<component::PropertyBag>(component::SavedState());
  common::UniqueVariant value;
  EXPECT_EQ(empty->Read(L"icon", value.get(), nullptr), E_INVALIDARG);
  EXPECT_EQ(value.type(), VT_EMPTY);
}

TEST_F(PropertyBagTest, NothingIsWrittenBack) {
  common::UniqueVariant value;
  EXPECT_EQ(bag->Write(L"tooltiptext", value.get()), E_NOTIMPL);
}

}  // namespace

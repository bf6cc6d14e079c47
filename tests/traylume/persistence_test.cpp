// The control's saved state: the four keys of a property bag, its own
// stream format, and saved values that are refused whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/bstr.h"
#include "common/com_object.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;
using PersistenceTest = ControlTest;

struct Bag final : common::ComObject<IPropertyBag, IErrorLog> {
  std::vector<std::pair<std::wstring, common::UniqueVariant>> values;  // in the order written
  std::vector<std::wstring> errors;                                    // keys told to the error log

  std::wstring Keys() const {
    std::wstring keys;
    for (const auto& [key, value] : values) keys += key + L"=" + Describe(*value.get()) + L";";
    return keys;
  }
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    for (auto& [key, stored] : values) {
      if (key == name) return ::VariantCopy(value, stored.get());
    }
    return E_INVALIDARG;
  }
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
    values.emplace_back(name, common::UniqueVariant());
    return ::VariantCopy(values.back().second.get(), value);
  }
  STDMETHODIMP AddError(LPCOLESTR name, EXCEPINFO*) override { return errors.push_back(name), S_OK; }
};

// The saved state as the control writes it to a property bag.
std::wstring SavedState(IDispatch* control) {
  auto bag = common::make<Bag>();
  common::ComPtr<IPersistPropertyBag> persist;
  common::ComPtr<IDispatch>(control).As(&persist);
  EXPECT_EQ(persist->Save(bag.get(), FALSE, TRUE), S_OK);
  return bag->Keys();
}

TEST_F(PersistenceTest, APropertyBagGetsTheFourKeysAndGivesThemBack) {
  common::ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  EXPECT_EQ(SavedState(control.get()), L"_extentx=VT_I4 847;_extenty=VT_I4 847;tooltiptext=VT_BSTR ;")
      << "the control's own icon is not saved";
  auto picture = SolidIconPicture(RGB(0, 0, 200));
  common::UniqueBstr tip(L"保存");
  auto bag = common::make<Bag>();
  for (const auto& [key, value] : {std::pair{L"_extentx", I4(100)}, std::pair{L"icon", Object(picture.get())},
                                   std::pair{L"tooltiptext", Text(tip.get())}}) {
    bag->Write(key, const_cast<VARIANT*>(&value));
  }
  ASSERT_EQ(persist->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(SavedState(control.get()),
            L"_extentx=VT_I4 100;_extenty=VT_I4 847;icon=VT_DISPATCH;tooltiptext=VT_BSTR 保存;");
  // A save into a bag that clears the dirty flag leaves the control clean; one that does not, dirty.
  common::ComPtr<IPersistStreamInit> stream;
  ASSERT_EQ(control.As(&stream), S_OK);
  ASSERT_EQ(Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
  SavedState(control.get());
  EXPECT_EQ(stream->IsDirty(), S_OK) << "a save that keeps the flag";
  EXPECT_EQ(persist->Save(common::make<Bag>().get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(stream->IsDirty(), S_FALSE);

  // One bad value, and nothing is taken; the error log hears its key.
  const std::wstring before = SavedState(control.get());
  common::ComPtr<IDispatch> notAPicture;
  ASSERT_EQ(CreateControl(&notAPicture), S_OK);
  for (const auto& [key, value] : {std::pair{L"_extentx", Object(notAPicture.get())}, std::pair{L"_extenty", I4(-1)},
                                   std::pair{L"icon", I4(5)}, std::pair{L"icon", Object(notAPicture.get())}}) {
    auto bad = common::make<Bag>();
    common::UniqueBstr other(L"変わらない");
    VARIANT tip = Text(other.get());
    bad->Write(L"tooltiptext", &tip);
    bad->Write(key, const_cast<VARIANT*>(&value));
    EXPECT_TRUE(FAILED(persist->Load(bad.get(), bad.get()))) << key;
    EXPECT_EQ(bad->errors, std::vector<std::wstring>{key});
    EXPECT_EQ(SavedState(control.get()), before) << key;
  }
}

TEST_F(PersistenceTest, AStreamCarriesTheStateToAnotherControlAndDamagedOnesAreRefused) {
  common::ComPtr<IPersistStreamInit> persist;
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&persist), S_OK);
  ASSERT_EQ(control.As(&ole), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  // Each saved value on its own makes the control dirty (a host saves it
  // then); a save makes it clean.
  common::UniqueBstr tip(L"流れ");
  auto picture = SolidIconPicture(RGB(200, 0, 200), 32);
  SIZEL size{900, 800};
  const std::function<HRESULT()> changes[] = {
      [&] { return Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr; },
      [&] { return Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr; },
      [&] { return ole->SetExtent(DVASPECT_CONTENT, &size); }};
  for (const auto& change : changes) {
    ASSERT_EQ(change(), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK) << &change - changes;
    SavedBytes(control.get());
    EXPECT_EQ(persist->IsDirty(), S_FALSE) << &change - changes;
  }
  const std::vector<BYTE> saved = SavedBytes(control.get());
  EXPECT_EQ(std::vector<BYTE>(saved.begin(), saved.begin() + 8), (std::vector<BYTE>{'T', 'R', 'L', 'M', 1, 0, 0, 0}))
      << "the stream begins with its published marker and version: streams saved before load again";

  common::ComPtr<IDispatch> other;
  ASSERT_EQ(CreateControl(&other), S_OK);
  ASSERT_EQ(LoadBytes(other.get(), saved), S_OK);
  EXPECT_EQ(SavedState(other.get()), SavedState(control.get()));
  common::ComPtr<IPersistStreamInit> loaded;
  ASSERT_EQ(other.As(&loaded), S_OK);
  EXPECT_EQ(loaded->IsDirty(), S_FALSE) << "a load leaves the control clean";
  const Outcome icon = Get(other.get(), dispid::kIcon);
  EXPECT_EQ(IconCentreColor(static_cast<IPictureDisp*>(V_DISPATCH(icon.value.get()))), RGB(200, 0, 200));

  // Cut short, a wrong marker, an icon that claims more images than it
  // holds, an image past the end: refused, and nothing changes.
  const std::wstring before = SavedState(other.get());
  std::vector<std::vector<BYTE>> damaged;
  for (size_t cut : {size_t{6}, saved.size() - 1}) damaged.emplace_back(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(cut));
  const BYTE marker[] = {'l', 't', 0, 0};  // where a saved picture begins
  const size_t iconFile = static_cast<size_t>(std::search(saved.begin(), saved.end(), marker, marker + 4) - saved.begin()) + 8;
  for (size_t at : {size_t{0}, size_t{4}, size_t{11}, size_t{15}, iconFile + 4, iconFile + 5, iconFile + 6 + 11, iconFile + 6 + 13}) {
    damaged.push_back(saved);
    damaged.back()[at] = 0xFF;  // the stream's marker and version, a negative width or height; image count, size, offset
  }
  for (const auto& bytes : damaged) {
    EXPECT_TRUE(FAILED(LoadBytes(other.get(), bytes)));
    EXPECT_EQ(SavedState(other.get()), before);
  }
}

// Icon files made since Windows Vista carry their largest image as PNG data.
TEST_F(PersistenceTest, AnIconWithAPngImageComesBackWithItsBytesAndShowsItsImages) {
  const auto picture = IconFilePicture(IconFile({{16, RGB(200, 0, 0)}, {48, RGB(0, 200, 0), true}}));
  ASSERT_TRUE(picture);
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  const std::vector<BYTE> saved = SavedBytes(control.get());
  common::ComPtr<IDispatch> other;
  ASSERT_EQ(CreateControl(&other), S_OK);
  ASSERT_EQ(LoadBytes(other.get(), saved), S_OK);
  EXPECT_EQ(SavedBytes(other.get()), saved);
  system.smallIcon = {20, 20};  // where the PNG image is the one to scale down
  ASSERT_EQ(Call(other.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_TRUE(shell.calls.back().icon);
  EXPECT_EQ(shell.calls.back().icon->centre, RGB(0, 200, 0));
}

}  // namespace
}  // namespace traylume_tests

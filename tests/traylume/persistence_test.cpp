// The control's saved state: the four keys of a property bag, its own
// stream format, and saved values that are refused whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

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

class Bag final : public common::ComObject<IPropertyBag, IErrorLog> {
 public:
  std::vector<std::pair<std::wstring, common::UniqueVariant>> values;  // in the order written
  std::vector<std::wstring> errors;                                    // keys told to the error log

  void Set(const std::wstring& key, const VARIANT& value) {
    for (auto at = values.begin(); at != values.end(); ++at) {
      if (at->first == key) {
        values.erase(at);
        break;
      }
    }
    values.emplace_back(key, common::UniqueVariant());
    ::VariantCopy(values.back().second.get(), const_cast<VARIANT*>(&value));
  }
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
    Set(name, *value);
    return S_OK;
  }
  STDMETHODIMP AddError(LPCOLESTR name, EXCEPINFO*) override {
    errors.push_back(name);
    return S_OK;
  }
};

// The saved state as the control itself writes it.
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
  bag->Set(L"_extentx", I4(100));
  bag->Set(L"icon", Object(picture.get()));
  bag->Set(L"tooltiptext", Text(tip.get()));
  ASSERT_EQ(persist->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR 保存");
  EXPECT_EQ(SavedState(control.get()),
            L"_extentx=VT_I4 100;_extenty=VT_I4 847;icon=VT_DISPATCH;tooltiptext=VT_BSTR 保存;");
}

TEST_F(PersistenceTest, ABagWithOneBadValueChangesNothingAndNamesTheKey) {
  common::ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  const std::wstring before = SavedState(control.get());
  common::ComPtr<IDispatch> notAPicture;
  ASSERT_EQ(CreateControl(&notAPicture), S_OK);
  const struct {
    const wchar_t* key;
    VARIANT value;
  } cases[] = {
      {L"_extentx", Object(notAPicture.get())}, {L"_extenty", I4(-1)}, {L"icon", I4(5)},
      {L"icon", Object(notAPicture.get())},
  };
  for (const auto& c : cases) {
    auto bag = common::make<Bag>();
    common::UniqueBstr tip(L"変わらない");
    bag->Set(L"tooltiptext", Text(tip.get()));
    bag->Set(c.key, c.value);
    EXPECT_TRUE(FAILED(persist->Load(bag.get(), bag.get()))) << c.key;
    EXPECT_EQ(bag->errors, std::vector<std::wstring>{c.key});
    EXPECT_EQ(SavedState(control.get()), before) << c.key;
  }
}

// The control's stream, written by one control and read by another.
common::ComPtr<IStream> SavedStream(IDispatch* control) {
  common::ComPtr<IPersistStreamInit> persist;
  common::ComPtr<IStream> stream;
  common::ComPtr<IDispatch>(control).As(&persist);
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  EXPECT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  return stream;
}

std::vector<BYTE> Contents(IStream* stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

HRESULT LoadBytes(IDispatch* control, const std::vector<BYTE>& bytes) {
  common::ComPtr<IPersistStreamInit> persist;
  common::ComPtr<IStream> stream;
  common::ComPtr<IDispatch>(control).As(&persist);
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return persist->Load(stream.get());
}

TEST_F(PersistenceTest, AStreamCarriesTheStateToAnotherControlAndDamagedOnesAreRefused) {
  common::ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  common::UniqueBstr tip(L"流れ");
  ASSERT_EQ(Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
  auto picture = SolidIconPicture(RGB(200, 0, 200), 32);
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK);
  const std::vector<BYTE> saved = Contents(SavedStream(control.get()).get());
  EXPECT_EQ(persist->IsDirty(), S_FALSE);

  common::ComPtr<IDispatch> other;
  ASSERT_EQ(CreateControl(&other), S_OK);
  ASSERT_EQ(LoadBytes(other.get(), saved), S_OK);
  EXPECT_EQ(SavedState(other.get()), SavedState(control.get()));
  const Outcome icon = Get(other.get(), dispid::kIcon);
  EXPECT_EQ(PictureCentreColor(reinterpret_cast<IPictureDisp*>(V_DISPATCH(icon.value.get()))), RGB(200, 0, 200));

  // Cut short anywhere, a wrong marker, an icon that claims more images
  // than it holds or an image past the end: refused, and nothing changes.
  const std::wstring before = SavedState(other.get());
  std::vector<std::vector<BYTE>> damaged;
  for (size_t cut : {size_t{0}, size_t{6}, size_t{20}, saved.size() / 2, saved.size() - 1}) {
    damaged.emplace_back(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(cut));
  }
  damaged.push_back(saved);
  damaged.back()[0] ^= 0xFF;
  const BYTE marker[] = {'l', 't', 0, 0};
  const auto pictureAt = std::search(saved.begin(), saved.end(), std::begin(marker), std::end(marker));
  ASSERT_NE(pictureAt, saved.end());
  const size_t iconFile = static_cast<size_t>(pictureAt - saved.begin()) + 8;
  for (size_t at : {iconFile + 4, iconFile + 4 + 1, iconFile + 6 + 8 + 3, iconFile + 6 + 12 + 1}) {
    damaged.push_back(saved);
    damaged.back()[at] = 0xFF;  // image count, image size, image offset
  }
  for (const auto& bytes : damaged) {
    EXPECT_TRUE(FAILED(LoadBytes(other.get(), bytes)));
    EXPECT_EQ(SavedState(other.get()), before);
  }
}

}  // namespace
}  // namespace traylume_tests

// The control's saved state: the four keys of a property bag, its own
// stream format, and saved values that are refused whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "common/bstr.h"
#include "common/com_object.h"
#include "common/text.h"
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
  STDMETHODIMP AddError(LPCOLESTR name, EXCEPINFO*) override {
    errors.push_back(name);
    return S_OK;
  }
};

// The saved state as the control writes it to a property bag.
std::wstring SavedState(IDispatch* control) {
  auto bag = common::make<Bag>();
  common::ComPtr<IPersistPropertyBag> persist;
  common::ComPtr<IDispatch>(control).As(&persist);
  EXPECT_EQ(persist->Save(bag.get(), FALSE, TRUE), S_OK);
  return bag->Keys();
}

// A bag holding `values`, in that order.
common::ComPtr<Bag> BagOf(const std::vector<std::pair<const wchar_t*, VARIANT>>& values) {
  auto bag = common::make<Bag>();
  for (auto [key, value] : values) bag->Write(key, &value);
  return bag;
}

// The size a new control has, as IOleObject tells it: "cx" and "cy".
std::pair<std::wstring, std::wstring> InitialExtent(IDispatch* control) {
  common::ComPtr<IOleObject> ole;
  SIZEL extent{};
  common::ComPtr<IDispatch>(control).As(&ole);
  ole->GetExtent(DVASPECT_CONTENT, &extent);
  return {std::to_wstring(extent.cx), std::to_wstring(extent.cy)};
}

TEST_F(PersistenceTest, APropertyBagGetsTheKeysButNotTheControlsOwnIcon) {
  const auto [x, y] = InitialExtent(control.get());
  EXPECT_EQ(SavedState(control.get()), L"_extentx=VT_I4 " + x + L";_extenty=VT_I4 " + y + L";tooltiptext=VT_BSTR ;");
}

TEST_F(PersistenceTest, APropertyBagGivesBackWhatItHoldsAndTheOtherKeysKeepTheirValues) {
  common::ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  auto picture = SolidIconPicture(RGB(0, 0, 200));
  common::UniqueBstr tip(L"保存");
  const auto bag = BagOf({{L"_extentx", I4(100)}, {L"icon", Object(picture.get())}, {L"tooltiptext", Text(tip.get())}});
  const std::wstring y = InitialExtent(control.get()).second;
  ASSERT_EQ(persist->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(SavedState(control.get()), L"_extentx=VT_I4 100;_extenty=VT_I4 " + y + L";icon=VT_DISPATCH;tooltiptext=VT_BSTR 保存;");
}

TEST_F(PersistenceTest, ASaveIntoABagLeavesTheControlCleanOnlyWhenAskedTo) {
  common::ComPtr<IPersistPropertyBag> persist;
  common::ComPtr<IPersistStreamInit> stream;
  ASSERT_EQ(control.As(&persist), S_OK);
  ASSERT_EQ(control.As(&stream), S_OK);
  common::UniqueBstr tip(L"保存");
  ASSERT_EQ(Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
  ASSERT_EQ(persist->Save(common::make<Bag>().get(), FALSE, TRUE), S_OK);
  EXPECT_EQ(stream->IsDirty(), S_OK);
  ASSERT_EQ(persist->Save(common::make<Bag>().get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(stream->IsDirty(), S_FALSE);
}

// Each bad value comes with good ones for every other key, before and
// after it: nothing is taken, and the error log hears the bad key.
TEST_F(PersistenceTest, ABagWithOneBadValueChangesNothing) {
  common::ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  const std::wstring before = SavedState(control.get());
  common::ComPtr<IDispatch> notAPicture;
  ASSERT_EQ(CreateControl(&notAPicture), S_OK);
  auto picture = SolidIconPicture(RGB(0, 0, 200));
  common::UniqueBstr tip(L"変わらない");
  const std::pair<const wchar_t*, VARIANT> good[] = {
      {L"_extentx", I4(123)},
      {L"_extenty", I4(456)},
      {L"icon", Object(picture.get())},
      {L"tooltiptext", Text(tip.get())},
  };
  const std::pair<const wchar_t*, VARIANT> bad[] = {
      {L"_extentx", Object(notAPicture.get())}, {L"_extenty", I4(-1)},
      {L"icon", I4(5)},                          {L"icon", Object(notAPicture.get())},
      {L"tooltiptext", Object(notAPicture.get())},
  };
  for (const auto& [badKey, badValue] : bad) {
    std::vector<std::pair<const wchar_t*, VARIANT>> values;
    for (const auto& [key, value] : good) values.emplace_back(key, std::wstring(key) == badKey ? badValue : value);
    const auto bag = BagOf(values);
    EXPECT_TRUE(FAILED(persist->Load(bag.get(), bag.get()))) << common::Utf8(badKey);
    EXPECT_EQ(bag->errors, std::vector<std::wstring>{badKey});
    EXPECT_EQ(SavedState(control.get()), before) << common::Utf8(badKey);
  }
}

// The bytes `control` saves to its own stream, and loading such bytes.
std::vector<BYTE> SavedBytes(IDispatch* control) {
  common::ComPtr<IPersistStreamInit> persist;
  common::ComPtr<IStream> stream;
  common::ComPtr<IDispatch>(control).As(&persist);
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  if (!persist || FAILED(persist->Save(stream.get(), TRUE))) return {};
  HGLOBAL memory = nullptr;
  ::GetHGlobalFromStream(stream.get(), &memory);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  const auto* bytes = static_cast<const BYTE*>(::GlobalLock(memory));
  std::vector<BYTE> saved(bytes, bytes + stat.cbSize.QuadPart);
  ::GlobalUnlock(memory);
  return saved;
}

HRESULT LoadBytes(IDispatch* control, const std::vector<BYTE>& bytes) {
  common::ComPtr<IPersistStreamInit> persist;
  common::ComPtr<IStream> stream;
  common::ComPtr<IDispatch>(control).As(&persist);
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  const LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return persist->Load(stream.get());
}

// An icon file of the test's own making, and where it lies in `saved`.
const std::string kIconFile = IconFile({{32, RGB(200, 0, 200)}});

// The picture may be saved in its own words: found by the file's header and
// first directory entry (type, count, width and height), as the test wrote them.
size_t IconFileIn(const std::vector<BYTE>& saved) {
  const auto header = kIconFile.begin();
  return static_cast<size_t>(std::search(saved.begin(), saved.end(), header, header + 8) - saved.begin());
}

uint32_t Read32(const std::vector<BYTE>& bytes, size_t at) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof(value));
  return value;
}

std::vector<BYTE> With32(std::vector<BYTE> bytes, size_t at, uint32_t value) {
  std::memcpy(bytes.data() + at, &value, sizeof(value));
  return bytes;
}

// Each saved value on its own makes the control dirty (a host saves it
// then); a save makes it clean.
TEST_F(PersistenceTest, EachChangeMakesTheControlDirtyAndASaveClean) {
  common::ComPtr<IPersistStreamInit> persist;
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&persist), S_OK);
  ASSERT_EQ(control.As(&ole), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  common::UniqueBstr tip(L"流れ");
  auto picture = IconFilePicture(kIconFile);
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
}

class StreamTest : public PersistenceTest {
 protected:
  void SetUp() override {
    PersistenceTest::SetUp();
    common::ComPtr<IOleObject> ole;
    ASSERT_EQ(control.As(&ole), S_OK);
    common::UniqueBstr tip(L"流れ");
    auto picture = IconFilePicture(kIconFile);
    ASSERT_EQ(Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
    ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
    ASSERT_EQ(ole->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
    saved = SavedBytes(control.get());
    ASSERT_EQ(CreateControl(&other), S_OK);
  }
  void TearDown() override {
    other.reset();
    PersistenceTest::TearDown();
  }
  SIZEL extent{900, 800};
  std::vector<BYTE> saved;
  common::ComPtr<IDispatch> other;
};

TEST_F(StreamTest, ItBeginsWithItsPublishedMarkerAndVersionSoThatOldStreamsLoad) {
  EXPECT_EQ(std::vector<BYTE>(saved.begin(), saved.begin() + 8), (std::vector<BYTE>{'T', 'R', 'L', 'M', 1, 0, 0, 0}));
}

TEST_F(StreamTest, ItCarriesTheStateToAnotherControlWhichIsCleanAfterwards) {
  ASSERT_EQ(LoadBytes(other.get(), saved), S_OK);
  EXPECT_EQ(SavedState(other.get()), SavedState(control.get()));
  common::ComPtr<IPersistStreamInit> loaded;
  ASSERT_EQ(other.As(&loaded), S_OK);
  EXPECT_EQ(loaded->IsDirty(), S_FALSE);
}

// Offsets within the icon file as the icon file format has them: the
// image count at 4, then 16 bytes per image whose size is at 8 and
// whose offset is at 12.
TEST_F(StreamTest, ADamagedStreamIsRefusedAndChangesNothing) {
  const size_t file = IconFileIn(saved);
  ASSERT_LT(file, saved.size()) << "no icon file saved";
  const size_t entry = file + 6;
  const uint32_t imageSize = Read32(saved, entry + 8);
  const uint32_t imageOffset = Read32(saved, entry + 12);
  const std::vector<BYTE> sides = {0x84, 0x03, 0, 0, 0x20, 0x03, 0, 0};  // 900 and 800
  const size_t width = static_cast<size_t>(std::search(saved.begin(), saved.end(), sides.begin(), sides.end()) - saved.begin());
  ASSERT_LT(width, saved.size());
  const struct {
    const char* name;
    std::vector<BYTE> bytes;
  } cases[] = {
      {"cut in its header", std::vector<BYTE>(saved.begin(), saved.begin() + 6)},
      {"cut by one byte", std::vector<BYTE>(saved.begin(), saved.end() - 1)},
      {"another marker", With32(saved, 0, 0x4D4C52FF)},
      {"another version", With32(saved, 4, 2)},
      {"a negative width", With32(saved, width, 0xFFFFFF00)},
      {"a negative height", With32(saved, width + 4, 0xFFFFFF00)},
      {"more images than it holds", With32(saved, file + 4, Read32(saved, file + 4) + 1)},
      {"an image one byte past the end", With32(saved, entry + 8, imageSize + 1)},
      {"an image that begins one byte late", With32(saved, entry + 12, imageOffset + 1)},
      {"an image far past the end", With32(saved, entry + 12, 0xFFFFFF00)},
      {"an image too large to add", With32(saved, entry + 8, 0xFFFFFFF0)},
  };
  const std::wstring before = SavedState(other.get());
  for (const auto& c : cases) {
    EXPECT_TRUE(FAILED(LoadBytes(other.get(), c.bytes))) << c.name;
    EXPECT_EQ(SavedState(other.get()), before) << c.name;
  }
}

// Icon files made since Windows Vista carry their largest image as PNG data.
TEST_F(StreamTest, AnIconWithAPngImageComesBackWithItsBytesAndShowsItsImages) {
  const auto picture = IconFilePicture(IconFile({{16, RGB(200, 0, 0)}, {48, RGB(0, 200, 0), true}}));
  ASSERT_TRUE(picture);
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  saved = SavedBytes(control.get());
  ASSERT_EQ(LoadBytes(other.get(), saved), S_OK);
  EXPECT_EQ(SavedBytes(other.get()), saved);
  system.smallIcon = {20, 20};  // where the PNG image is the one to scale down
  ASSERT_EQ(Call(other.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_TRUE(shell.calls.back().icon);
  EXPECT_EQ(shell.calls.back().icon->centre, RGB(0, 200, 0));
}

}  // namespace
}  // namespace traylume_tests

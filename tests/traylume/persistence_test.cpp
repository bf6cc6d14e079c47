// Saved state: the four keys a form keeps in its property bag, and the
// control's own stream format; a missing key keeps the default, a value of
// the wrong type fails the load without changing the control.

#include <gtest/gtest.h>

#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "common/bstr.h"
#include "contract/traylume_contract.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/traylume/memory_property_bag.h"
#include "tests/traylume/recording_sink.h"
#include "tests/support/test_pictures.h"
#include "traylume/user_texts.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;
using testing_support::EmptyPicture;
using testing_support::PictureType;
using testing_support::SolidBitmapPicture;
using testing_support::SolidIconPicture;
using PersistenceTest = ControlTest;

constexpr COLORREF kGreen = RGB(0, 200, 0);
const std::wstring kSavedTip = L"ツールチップのテストです。";
const std::vector<std::wstring> kFourKeys = {L"_extentx", L"_extenty", L"icon", L"tooltiptext"};

template <typename Interface>
common::ComPtr<Interface> As(IDispatch* control) {
  common::ComPtr<Interface> result;
  common::ComPtr<IDispatch>(control).As(&result);
  return result;
}

SIZEL Extent(IDispatch* control) {
  SIZEL size{};
  As<IOleObject>(control)->GetExtent(DVASPECT_CONTENT, &size);
  return size;
}

void SetExtent(IDispatch* control, LONG cx, LONG cy) {
  SIZEL size{cx, cy};
  EXPECT_EQ(As<IOleObject>(control)->SetExtent(DVASPECT_CONTENT, &size), S_OK);
}

// The Icon property's object (its reference is held by `holder`).
IDispatch* IconObject(IDispatch* control, Outcome* holder) {
  *holder = Get(control, dispid::kIcon);
  return holder->value.type() == VT_DISPATCH ? V_DISPATCH(holder->value.get()) : nullptr;
}

// The saved state as the program's window description holds it.
common::ComPtr<MemoryPropertyBag> FormState(IPictureDisp* icon) {
  auto bag = common::make<MemoryPropertyBag>();
  bag->Set(L"_extentx", I4(847));
  bag->Set(L"_extenty", I4(847));
  bag->Set(L"icon", Object(icon));
  common::UniqueBstr tip(kSavedTip);
  bag->Set(L"tooltiptext", Text(tip.get()));
  return bag;
}

TEST_F(PersistenceTest, SaveWritesTheFourKeysInOrderWithTheirTypesAndNoIconWithoutOne) {
  auto empty = common::make<MemoryPropertyBag>();
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Save(empty.get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(empty->writes, (std::vector<std::wstring>{L"_extentx", L"_extenty", L"tooltiptext"}));

  auto picture = SolidIconPicture(kGreen);
  SetText(control_.get(), dispid::kToolTipText, kSavedTip);
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  auto bag = common::make<MemoryPropertyBag>();
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Save(bag.get(), TRUE, FALSE), S_OK);
  EXPECT_EQ(bag->writes, kFourKeys);
  const VARIANT* x = bag->Find(L"_extentx");
  const VARIANT* y = bag->Find(L"_extenty");
  const VARIANT* icon = bag->Find(L"icon");
  const VARIANT* tip = bag->Find(L"tooltiptext");
  ASSERT_TRUE(x && y && icon && tip);
  ASSERT_EQ(V_VT(x), VT_I4);
  EXPECT_EQ(V_I4(x), 847);
  ASSERT_EQ(V_VT(y), VT_I4);
  EXPECT_EQ(V_I4(y), 847);
  ASSERT_EQ(V_VT(icon), VT_DISPATCH);
  EXPECT_EQ(V_DISPATCH(icon), picture.get());
  ASSERT_EQ(V_VT(tip), VT_BSTR);
  EXPECT_EQ(std::wstring(V_BSTR(tip)), kSavedTip);
}

TEST_F(PersistenceTest, LoadTakesTheFormsSavedStateInOrder) {
  auto picture = SolidIconPicture(kGreen, 32);
  auto bag = FormState(picture.get());
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(bag->reads, kFourKeys);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), kSavedTip);
  Outcome holder;
  EXPECT_EQ(IconObject(control_.get(), &holder), picture.get());
  EXPECT_EQ(Extent(control_.get()).cx, 847);
  // Nothing else changes: the other properties keep their initial values.
  EXPECT_EQ(Shown(control_.get(), dispid::kBalloon), L"VT_BOOL 0");
  EXPECT_EQ(Shown(control_.get(), dispid::kBalloonSound), L"VT_BOOL -1");
  EXPECT_EQ(Shown(control_.get(), dispid::kAutoRefresh), L"VT_BOOL 0");
  // Shown, the tray gets the saved icon and tooltip.
  Call(control_.get(), dispid::kShowIcon);
  ASSERT_EQ(CallsOf(NIM_ADD).size(), 1u);
  EXPECT_EQ(CallsOf(NIM_ADD)[0].iconColor, kGreen);
  EXPECT_EQ(std::wstring(CallsOf(NIM_ADD)[0].data.szTip), kSavedTip);
}

TEST_F(PersistenceTest, RoundTripGivesAnotherControlTheSameState) {
  auto picture = SolidBitmapPicture(kGreen);
  SetText(control_.get(), dispid::kToolTipText, L"往復");
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  SetExtent(control_.get(), 1200, 600);
  auto bag = common::make<MemoryPropertyBag>();
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Save(bag.get(), TRUE, FALSE), S_OK);

  auto other = NewControl();
  ASSERT_EQ(As<IPersistPropertyBag>(other.get())->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(GetText(other.get(), dispid::kToolTipText), L"往復");
  Outcome holder;
  EXPECT_EQ(IconObject(other.get(), &holder), picture.get());
  EXPECT_EQ(Extent(other.get()).cx, 1200);
  EXPECT_EQ(Extent(other.get()).cy, 600);
}

TEST_F(PersistenceTest, MissingKeysKeepTheDefaultsAndValuesThatConvertLoad) {
  Outcome initialIcon;
  IDispatch* defaultIcon = IconObject(control_.get(), &initialIcon);
  auto empty = common::make<MemoryPropertyBag>();
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Load(empty.get(), nullptr), S_OK);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"");
  Outcome holder;
  EXPECT_EQ(IconObject(control_.get(), &holder), defaultIcon);
  EXPECT_EQ(Extent(control_.get()).cx, 847);
  EXPECT_EQ(Extent(control_.get()).cy, 847);

  // A number saved as text and a picture saved as IUnknown; no icon key.
  auto some = common::make<MemoryPropertyBag>();
  common::UniqueBstr tip(L"これだけ"), number(L"1000");
  some->Set(L"tooltiptext", Text(tip.get()));
  some->Set(L"_extentx", Text(number.get()));
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Load(some.get(), nullptr), S_OK);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"これだけ");
  EXPECT_EQ(Extent(control_.get()).cx, 1000);
  EXPECT_EQ(IconObject(control_.get(), &holder), defaultIcon);

  auto picture = SolidIconPicture(kGreen);
  some->Set(L"icon", Unknown(picture.get()));
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->Load(some.get(), nullptr), S_OK);
  EXPECT_EQ(IconObject(control_.get(), &holder), picture.get());
}

TEST_F(PersistenceTest, AValueOfTheWrongTypeFailsTheLoadAndChangesNothing) {
  auto picture = SolidIconPicture(kGreen);
  auto empty = EmptyPicture();
  auto notAPicture = common::make<RecordingSink>();
  common::UniqueBstr word(L"abc");
  const struct {
    const wchar_t* key;
    VARIANT value;
    HRESULT expected;
    const wchar_t* logged;
  } cases[] = {
      {L"_extentx", Text(word.get()), DISP_E_TYPEMISMATCH, traylume::texts::kSavedValueMistyped},
      {L"_extenty", Object(picture.get()), DISP_E_TYPEMISMATCH, traylume::texts::kSavedValueMistyped},
      {L"icon", Text(word.get()), DISP_E_TYPEMISMATCH, traylume::texts::kSavedValueMistyped},
      {L"icon", I4(5), DISP_E_TYPEMISMATCH, traylume::texts::kSavedValueMistyped},
      {L"icon", Object(notAPicture.get()), DISP_E_TYPEMISMATCH, traylume::texts::kSavedValueMistyped},
      {L"icon", Object(empty.get()), CTL_E_INVALIDPICTURE, nullptr},
      {L"tooltiptext", Object(picture.get()), DISP_E_TYPEMISMATCH, traylume::texts::kSavedValueMistyped},
  };
  SetText(control_.get(), dispid::kToolTipText, L"そのまま");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key, c.key + wcslen(c.key)) + " vt " + std::to_string(V_VT(&c.value)));
    auto bag = FormState(SolidIconPicture(RGB(1, 2, 3)).get());
    common::UniqueBstr newTip(L"新しい値");
    bag->Set(L"tooltiptext", Text(newTip.get()));
    bag->Set(c.key, c.value);
    auto log = common::make<RecordingErrorLog>();
    EXPECT_EQ(As<IPersistPropertyBag>(control_.get())->Load(bag.get(), log.get()), c.expected);
    EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"そのまま");
    Outcome holder;
    EXPECT_EQ(PictureType(static_cast<IPictureDisp*>(IconObject(control_.get(), &holder))), PICTYPE_ICON);
    EXPECT_EQ(Extent(control_.get()).cx, 847);
    ASSERT_EQ(log->errors.size(), 1u);
    EXPECT_EQ(log->errors[0].first, c.key);
    if (c.logged) {
      EXPECT_EQ(log->errors[0].second, c.logged);
    }
  }
  EXPECT_EQ(As<IPersistPropertyBag>(control_.get())->Load(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(As<IPersistPropertyBag>(control_.get())->Save(nullptr, TRUE, TRUE), E_POINTER);
}

// --- IPersistStreamInit ---

common::ComPtr<IStream> StreamOf(const std::vector<BYTE>& bytes) {
  common::ComPtr<IStream> stream;
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  ULONG written = 0;
  if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

std::vector<BYTE> Saved(IDispatch* control) {
  common::ComPtr<IStream> stream = StreamOf({});
  EXPECT_EQ(As<IPersistStreamInit>(control)->Save(stream.get(), TRUE), S_OK);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

TEST_F(PersistenceTest, StreamRoundTripKeepsExtentToolTipAndIcon) {
  // Without an icon of its own, the default icon comes back.
  SetText(control_.get(), dispid::kToolTipText, L"既定");
  auto plain = NewControl();
  Outcome before, after;
  IDispatch* defaultIcon = IconObject(plain.get(), &before);
  ASSERT_EQ(As<IPersistStreamInit>(plain.get())->Load(StreamOf(Saved(control_.get())).get()), S_OK);
  EXPECT_EQ(GetText(plain.get(), dispid::kToolTipText), L"既定");
  EXPECT_EQ(IconObject(plain.get(), &after), defaultIcon);

  auto picture = SolidIconPicture(kGreen, 32);
  SetText(control_.get(), dispid::kToolTipText, L"ストリーム");
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  SetExtent(control_.get(), 900, 300);
  const std::vector<BYTE> bytes = Saved(control_.get());

  ULARGE_INTEGER max{};
  ASSERT_EQ(As<IPersistStreamInit>(control_.get())->GetSizeMax(&max), S_OK);
  EXPECT_GE(max.QuadPart, bytes.size());

  auto other = NewControl();
  ASSERT_EQ(As<IPersistStreamInit>(other.get())->Load(StreamOf(bytes).get()), S_OK);
  EXPECT_EQ(GetText(other.get(), dispid::kToolTipText), L"ストリーム");
  EXPECT_EQ(Extent(other.get()).cx, 900);
  EXPECT_EQ(Extent(other.get()).cy, 300);
  Outcome holder;
  EXPECT_EQ(PictureType(static_cast<IPictureDisp*>(IconObject(other.get(), &holder))), PICTYPE_ICON);
  Call(other.get(), dispid::kShowIcon);
  ASSERT_FALSE(CallsOf(NIM_ADD).empty());
  EXPECT_EQ(CallsOf(NIM_ADD).back().iconColor, kGreen);
}

TEST_F(PersistenceTest, DamagedStreamsFailWithoutChangingTheControl) {
  auto picture = SolidIconPicture(kGreen);
  SetText(control_.get(), dispid::kToolTipText, L"壊れる前");
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  const std::vector<BYTE> bytes = Saved(control_.get());
  ASSERT_GT(bytes.size(), 40u);

  auto other = NewControl();
  SetText(other.get(), dispid::kToolTipText, L"元のまま");
  std::vector<std::vector<BYTE>> damaged;
  for (size_t cut : {size_t{0}, size_t{3}, size_t{8}, size_t{17}, bytes.size() / 2, bytes.size() - 1}) {
    damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
  }
  damaged.push_back(std::vector<BYTE>(64, 0xAB));  // not our format
  std::vector<BYTE> hugeText = bytes;
  hugeText[16] = hugeText[17] = hugeText[18] = hugeText[19] = 0xFF;  // tooltip length 4G
  damaged.push_back(hugeText);
  for (size_t i = 0; i < damaged.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(FAILED(As<IPersistStreamInit>(other.get())->Load(StreamOf(damaged[i]).get())));
    EXPECT_EQ(GetText(other.get(), dispid::kToolTipText), L"元のまま");
  }
}

TEST_F(PersistenceTest, IsDirtyFollowsChangesAndSavesAndInitNewBringsBackTheInitialState) {
  auto persist = As<IPersistStreamInit>(control_.get());
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  SetText(control_.get(), dispid::kToolTipText, L"変更");
  EXPECT_EQ(persist->IsDirty(), S_OK);
  Saved(control_.get());
  EXPECT_EQ(persist->IsDirty(), S_FALSE);

  auto picture = SolidIconPicture(kGreen);
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  SetExtent(control_.get(), 10, 10);
  ASSERT_EQ(As<IPersistPropertyBag>(control_.get())->InitNew(), S_OK);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"");
  Outcome holder;
  EXPECT_NE(IconObject(control_.get(), &holder), picture.get());
  EXPECT_EQ(Extent(control_.get()).cx, 847);
}

}  // namespace
}  // namespace traylume_tests

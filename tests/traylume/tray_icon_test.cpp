// The icon the shell is given: made at the small icon size in force when
// it is sent, from the icon file's own image of that size or the nearest
// larger one, and from pictures only as they draw.
#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;
using TrayIconTest = ControlTest;

constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kBlue = RGB(0, 0, 210);
constexpr COLORREF kYellow = RGB(230, 230, 0);
constexpr COLORREF kViolet = RGB(150, 0, 200);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// The small icon size at 96, 120 and 144 DPI.
constexpr int kSmallSizes[] = {16, 20, 24};

TEST_F(TrayIconTest, TheShellGetsTheIconAtTheSmallSizeFromTheBestImageOfThePicture) {
  const Outcome own = Get(control.get(), dispid::kIcon);
  const auto ownCentre = IconCentreColor(static_cast<IPictureDisp*>(V_DISPATCH(own.value.get())));
  const struct {
    const char* name;
    common::ComPtr<IPictureDisp> picture;  // null: the control's own icon
    COLORREF centre[3];                    // at each small size
    BYTE cornerAlpha;
    bool smoothEdges;
  } cases[] = {
      {"the control's own", nullptr, {*ownCentre, *ownCentre, *ownCentre}, 0, true},
      {"a file with every size",
       IconFilePicture(IconFile({{16, kRed}, {20, kGreen}, {24, kBlue}, {32, kYellow}, {48, kViolet}})),
       {kRed, kGreen, kBlue}, 255, false},
      {"a file without 20 or 24", IconFilePicture(IconFile({{16, kRed}, {32, kYellow}, {48, kViolet}})),
       {kRed, kYellow, kYellow}, 255, false},
      {"an icon without its file", SolidIconPicture(kGreen, 32), {kGreen, kGreen, kGreen}, 255, false},
      {"a bitmap twice as wide as high", SolidBitmapPicture(kGrey, 64, 32), {kGrey, kGrey, kGrey}, 0, false},
  };
  for (const auto& c : cases) {
    if (c.picture) {
      ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(c.picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK)
          << c.name;
    }
    for (size_t i = 0; i < std::size(kSmallSizes); ++i) {
      const int side = kSmallSizes[i];
      system.smallIcon = {side, side};
      shell.calls.clear();
      ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK) << c.name;
      ASSERT_EQ(Call(control.get(), dispid::kHideIcon).hr, S_OK) << c.name;
      ASSERT_TRUE(shell.calls.front().icon) << c.name;
      const IconLook& sent = *shell.calls.front().icon;
      EXPECT_EQ(sent.size.cx, side) << c.name;
      EXPECT_EQ(sent.size.cy, side) << c.name;
      EXPECT_EQ(sent.centre, c.centre[i]) << c.name << " at " << side;
      EXPECT_EQ(sent.cornerAlpha, c.cornerAlpha) << c.name << " at " << side;
      EXPECT_EQ(sent.smoothEdges, c.smoothEdges) << c.name << " at " << side;
    }
  }
}

// A picture box that keeps drawing into its picture keeps it selected into
// its device context; Windows makes no icon of such a bitmap.
TEST_F(TrayIconTest, ABitmapItsHostKeepsSelectedBecomesTheIcon) {
  const auto picture = SolidBitmapPicture(kBlue, 16, 16);
  common::ComPtr<IPicture> bitmap;
  ASSERT_EQ(picture.As(&bitmap), S_OK);
  common::UniqueMemoryDc hostDc(::CreateCompatibleDC(nullptr));
  ASSERT_EQ(bitmap->SelectPicture(hostDc.get(), nullptr, nullptr), S_OK);
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_TRUE(shell.calls.back().icon);
  EXPECT_EQ(shell.calls.back().icon->centre, kBlue);
  ASSERT_EQ(bitmap->SelectPicture(nullptr, nullptr, nullptr), S_OK);
}

}  // namespace
}  // namespace traylume_tests

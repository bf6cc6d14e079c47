// What the control tells the shell: the icon added, brought up to date at
// once or on Refresh, its balloon, taken away, and added again when the
// task bar comes back.
#include <gtest/gtest.h>

#include "common/bstr.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;

class TrayTest : public ControlTest {
 protected:
  HRESULT Set(DISPID id, const wchar_t* text) {
    common::UniqueBstr value(text);
    return Put(control.get(), id, Text(value.get())).hr;
  }
  HRESULT Set(DISPID id, VARIANT value) { return Put(control.get(), id, value).hr; }
  HRESULT Do(DISPID id) { return Call(control.get(), id).hr; }
  const NOTIFYICONDATAW& Last() const { return shell.calls.back().data; }
};

TEST_F(TrayTest, ShowAddsTheIconOnceThenChangesWaitForRefreshUnlessAutoRefreshIsOn) {
  auto green = SolidIconPicture(RGB(0, 200, 0));
  ASSERT_EQ(Set(dispid::kToolTipText, L"一"), S_OK);
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(green.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(Last().hWnd, TrayWindow());
  EXPECT_EQ(Last().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_STREQ(Last().szTip, L"一");
  EXPECT_EQ(shell.calls[0].iconColor, RGB(0, 200, 0));

  ASSERT_EQ(Set(dispid::kToolTipText, L"二"), S_OK);
  EXPECT_EQ(shell.calls.size(), 1u) << "applied before Refresh";
  ASSERT_EQ(Do(dispid::kRefresh), S_OK);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_STREQ(Last().szTip, L"二");
  ASSERT_EQ(Set(dispid::kAutoRefresh, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kToolTipText, L"三"), S_OK);
  ASSERT_EQ(shell.calls.size(), 3u) << "not applied at once";
  EXPECT_STREQ(Last().szTip, L"三");

  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY)) << "a shown icon is not added twice";
  ASSERT_EQ(Do(dispid::kHideIcon), S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
  const size_t hidden = shell.calls.size();
  EXPECT_EQ(Set(dispid::kToolTipText, L"四") | Do(dispid::kRefresh) | Do(dispid::kHideIcon), S_OK);
  EXPECT_EQ(shell.calls.size(), hidden) << "a hidden icon is not touched";
}

TEST_F(TrayTest, TheBalloonCarriesTitleTextKindAndSoundAndSwitchingItOffTakesItDown) {
  const struct {
    long kind;
    bool sound;
    DWORD flags;
  } cases[] = {{contract::kBalloonNone, true, NIIF_NONE},          {contract::kBalloonInformation, true, NIIF_INFO},
               {contract::kBalloonWarning, false, NIIF_WARNING | NIIF_NOSOUND},
               {contract::kBalloonError, true, NIIF_ERROR},        {7, true, NIIF_NONE}};
  ASSERT_EQ(Do(dispid::kShowIcon) | Set(dispid::kBalloonTitle, L"題名") | Set(dispid::kBalloonText, L"本文"), S_OK);
  for (const auto& c : cases) {
    ASSERT_EQ(Set(dispid::kBalloonIcon, I4(c.kind)) | Set(dispid::kBalloonSound, Bool(c.sound)), S_OK);
    ASSERT_EQ(Set(dispid::kBalloon, Bool(true)) | Do(dispid::kRefresh), S_OK);
    EXPECT_TRUE(Last().uFlags & NIF_INFO) << c.kind;
    EXPECT_STREQ(Last().szInfoTitle, L"題名");
    EXPECT_STREQ(Last().szInfo, L"本文");
    EXPECT_EQ(Last().dwInfoFlags, c.flags) << c.kind;
  }
  ASSERT_EQ(Set(dispid::kBalloon, Bool(false)) | Do(dispid::kRefresh), S_OK);
  EXPECT_TRUE(Last().uFlags & NIF_INFO);
  EXPECT_STREQ(Last().szInfo, L"");
}

TEST_F(TrayTest, TextsAreCutToTheirFieldsWithoutSplittingACharacter) {
  const std::wstring tip = std::wstring(126, L'あ') + L"\U0001F600";  // a surrogate pair across the cut
  ASSERT_EQ(Set(dispid::kToolTipText, tip.c_str()) | Do(dispid::kShowIcon), S_OK);
  EXPECT_EQ(std::wstring(Last().szTip), std::wstring(126, L'あ'));
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR " + tip) << "the property keeps it whole";
}

TEST_F(TrayTest, WhenTheShellRefusesTheCallFailsAndTheControlStaysAsItWas) {
  shell.failing = {NIM_ADD};
  const Outcome show = Call(control.get(), dispid::kShowIcon);
  EXPECT_EQ(show.hr, DISP_E_EXCEPTION);
  EXPECT_FALSE(show.description.empty());
  shell.failing.clear();
  ASSERT_EQ(Do(dispid::kShowIcon) | Set(dispid::kAutoRefresh, Bool(true)) | Set(dispid::kToolTipText, L"前"), S_OK);
  shell.failing = {NIM_ADD, NIM_MODIFY};
  EXPECT_EQ(Set(dispid::kToolTipText, L"後"), DISP_E_EXCEPTION);
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR 前");
}

TEST_F(TrayTest, TheIconComesBackWithTheTaskBarAndGoesWithTheControl) {
  ASSERT_EQ(Set(dispid::kToolTipText, L"戻る") | Do(dispid::kShowIcon), S_OK);
  shell.calls.clear();
  ::SendMessageW(TrayWindow(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_STREQ(Last().szTip, L"戻る");
  EXPECT_TRUE(Last().uFlags & NIF_ICON);
  control.reset();
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
}

}  // namespace
}  // namespace traylume_tests

// What the control tells the shell: the icon added, brought up to date at
// once or on Refresh, its balloon, taken away, and added again when the
// task bar comes back.
#include <gtest/gtest.h>

#include <string>

#include "common/bstr.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;
using TrayTest = ControlTest;

void SetText(IDispatch* control, DISPID id, const wchar_t* text) {
  common::UniqueBstr value(text);
  ASSERT_EQ(Put(control, id, Text(value.get())).hr, S_OK);
}

TEST_F(TrayTest, ShowAddsTheIconOnceThenChangesWaitForRefreshUnlessAutoRefreshIsOn) {
  SetText(control.get(), dispid::kToolTipText, L"一");
  auto green = SolidIconPicture(RGB(0, 200, 0));
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(green.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_EQ(shell.calls.size(), 1u);
  const ShellSpy::Call& add = shell.calls[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.data.hWnd, TrayWindow());
  EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(std::wstring(add.data.szTip), L"一");
  EXPECT_EQ(add.iconColor, RGB(0, 200, 0));

  SetText(control.get(), dispid::kToolTipText, L"二");
  EXPECT_EQ(shell.calls.size(), 1u) << "applied before Refresh";
  ASSERT_EQ(Call(control.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(std::wstring(shell.calls[1].data.szTip), L"二");

  ASSERT_EQ(Put(control.get(), dispid::kAutoRefresh, Bool(true)).hr, S_OK);
  SetText(control.get(), dispid::kToolTipText, L"三");
  ASSERT_EQ(shell.calls.size(), 3u) << "not applied at once";
  EXPECT_EQ(std::wstring(shell.calls[2].data.szTip), L"三");

  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY)) << "a shown icon is not added twice";
  ASSERT_EQ(Call(control.get(), dispid::kHideIcon).hr, S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
  const size_t hidden = shell.calls.size();
  SetText(control.get(), dispid::kToolTipText, L"四");
  EXPECT_EQ(Call(control.get(), dispid::kRefresh).hr, S_OK);
  EXPECT_EQ(Call(control.get(), dispid::kHideIcon).hr, S_OK);
  EXPECT_EQ(shell.calls.size(), hidden) << "a hidden icon is not touched";
}

TEST_F(TrayTest, TheBalloonCarriesTitleTextKindAndSound) {
  const struct {
    long kind;
    bool sound;
    DWORD flags;
  } cases[] = {
      {contract::kBalloonNone, true, NIIF_NONE},
      {contract::kBalloonInformation, true, NIIF_INFO},
      {contract::kBalloonWarning, false, NIIF_WARNING | NIIF_NOSOUND},
      {contract::kBalloonError, true, NIIF_ERROR},
      {7, true, NIIF_NONE},
  };
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  SetText(control.get(), dispid::kBalloonTitle, L"題名");
  SetText(control.get(), dispid::kBalloonText, L"本文");
  for (const auto& c : cases) {
    ASSERT_EQ(Put(control.get(), dispid::kBalloonIcon, I4(c.kind)).hr, S_OK);
    ASSERT_EQ(Put(control.get(), dispid::kBalloonSound, Bool(c.sound)).hr, S_OK);
    ASSERT_EQ(Put(control.get(), dispid::kBalloon, Bool(true)).hr, S_OK);
    ASSERT_EQ(Call(control.get(), dispid::kRefresh).hr, S_OK);
    const NOTIFYICONDATAW& shown = shell.calls.back().data;
    EXPECT_TRUE(shown.uFlags & NIF_INFO) << c.kind;
    EXPECT_EQ(std::wstring(shown.szInfoTitle), L"題名");
    EXPECT_EQ(std::wstring(shown.szInfo), L"本文");
    EXPECT_EQ(shown.dwInfoFlags, c.flags) << c.kind;
  }
  // Switching it off takes the balloon down: an empty text.
  ASSERT_EQ(Put(control.get(), dispid::kBalloon, Bool(false)).hr, S_OK);
  ASSERT_EQ(Call(control.get(), dispid::kRefresh).hr, S_OK);
  EXPECT_TRUE(shell.calls.back().data.uFlags & NIF_INFO);
  EXPECT_EQ(std::wstring(shell.calls.back().data.szInfo), L"");
}

TEST_F(TrayTest, TextsAreCutToTheirFieldsWithoutSplittingACharacter) {
  std::wstring tip(126, L'あ');
  tip += L"\U0001F600";  // a surrogate pair across the cut after 127 units
  SetText(control.get(), dispid::kToolTipText, tip.c_str());
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(std::wstring(shell.calls[0].data.szTip), std::wstring(126, L'あ'));
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR " + tip) << "the property keeps it whole";
}

TEST_F(TrayTest, WhenTheShellRefusesTheCallFailsAndTheControlStaysAsItWas) {
  shell.failing = {NIM_ADD};
  const Outcome show = Call(control.get(), dispid::kShowIcon);
  EXPECT_EQ(show.hr, DISP_E_EXCEPTION);
  EXPECT_FALSE(show.description.empty());

  shell.failing.clear();
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_EQ(Put(control.get(), dispid::kAutoRefresh, Bool(true)).hr, S_OK);
  SetText(control.get(), dispid::kToolTipText, L"前");
  shell.failing = {NIM_ADD, NIM_MODIFY};
  common::UniqueBstr after(L"後");
  EXPECT_EQ(Put(control.get(), dispid::kToolTipText, Text(after.get())).hr, DISP_E_EXCEPTION);
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR 前");
  EXPECT_EQ(Put(control.get(), dispid::kAutoRefresh, Bool(false)).hr, S_OK);
}

TEST_F(TrayTest, TheIconComesBackWithTheTaskBarAndGoesWithTheControl) {
  SetText(control.get(), dispid::kToolTipText, L"戻る");
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  shell.calls.clear();
  ::SendMessageW(TrayWindow(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(std::wstring(shell.calls[0].data.szTip), L"戻る");
  EXPECT_TRUE(shell.calls[0].data.uFlags & NIF_ICON);

  control.reset();
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].message, static_cast<DWORD>(NIM_DELETE));
}

}  // namespace
}  // namespace traylume_tests

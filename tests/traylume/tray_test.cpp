// What the control tells the shell: the icon added, brought up to date at
// once or on Refresh, its balloon (one for a burst of changes), taken away,
// and added when the task bar comes, late or again.
#include <gtest/gtest.h>

#include "common/bstr.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/traylume/control_test.h"
#include "traylume/tray_window.h"

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
  std::vector<DWORD> Messages() const {
    std::vector<DWORD> messages;
    for (const auto& call : shell.calls) messages.push_back(call.message);
    return messages;
  }
  // The balloons the shell was asked to show or take down.
  std::vector<std::wstring> Balloons() const {
    std::vector<std::wstring> balloons;
    for (const auto& call : shell.calls) {
      if (call.data.uFlags & NIF_INFO) balloons.push_back(std::wstring(call.data.szInfoTitle) + L"/" + call.data.szInfo);
    }
    return balloons;
  }
  // Shown, with AutoRefresh and a balloon up; what the shell heard forgotten.
  void ShowWithABalloonUp() {
    ASSERT_EQ(Set(dispid::kAutoRefresh, Bool(true)), S_OK);
    ASSERT_EQ(Set(dispid::kBalloonText, L"本文"), S_OK);
    ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
    ASSERT_EQ(Set(dispid::kBalloon, Bool(true)), S_OK);
    shell.calls.clear();
  }
  // The icon asked for while the task bar is not there yet.
  void ShowBeforeTheTaskBar() {
    system.taskBar = false;
    shell.failing = {NIM_ADD};
    ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
    system.taskBar = true;
    shell.failing.clear();
    shell.calls.clear();
  }
};

// The icon itself as the shell gets it: tray_icon_test.cpp.
TEST_F(TrayTest, ShowAddsTheIconWithEverySetting) {
  ASSERT_EQ(Set(dispid::kToolTipText, L"一"), S_OK);
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(Messages(), std::vector<DWORD>{NIM_ADD});
  EXPECT_EQ(Last().hWnd, TrayWindow());
  EXPECT_EQ(Last().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_STREQ(Last().szTip, L"一");
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY)) << "a shown icon is added twice";
}

TEST_F(TrayTest, ChangesWaitForRefreshUnlessAutoRefreshIsOn) {
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(Set(dispid::kToolTipText, L"二"), S_OK);
  EXPECT_EQ(shell.calls.size(), 1u) << "applied before Refresh";
  ASSERT_EQ(Do(dispid::kRefresh), S_OK);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
  EXPECT_STREQ(Last().szTip, L"二");
  ASSERT_EQ(Set(dispid::kAutoRefresh, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kToolTipText, L"三"), S_OK);
  ASSERT_EQ(shell.calls.size(), 3u) << "not applied at once";
  EXPECT_STREQ(Last().szTip, L"三");
}

TEST_F(TrayTest, AHiddenIconIsNotTouched) {
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(Do(dispid::kHideIcon), S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
  shell.calls.clear();
  ASSERT_EQ(Set(dispid::kAutoRefresh, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kToolTipText, L"四"), S_OK);
  ASSERT_EQ(Do(dispid::kRefresh), S_OK);
  ASSERT_EQ(Do(dispid::kHideIcon), S_OK);
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayTest, TheBalloonCarriesTitleTextKindAndSound) {
  const struct {
    long kind;
    bool sound;
    DWORD flags;
  } cases[] = {
      {contract::kBalloonInformation, true, NIIF_INFO},
      {contract::kBalloonWarning, false, NIIF_WARNING | NIIF_NOSOUND},
      {contract::kBalloonError, true, NIIF_ERROR},
      {7, true, NIIF_NONE},
  };
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(Set(dispid::kBalloonTitle, L"題名"), S_OK);
  ASSERT_EQ(Set(dispid::kBalloonText, L"本文"), S_OK);
  ASSERT_EQ(Set(dispid::kBalloon, Bool(true)), S_OK);
  for (const auto& c : cases) {
    ASSERT_EQ(Set(dispid::kBalloonIcon, I4(c.kind)), S_OK);
    ASSERT_EQ(Set(dispid::kBalloonSound, Bool(c.sound)), S_OK);
    ASSERT_EQ(Do(dispid::kRefresh), S_OK);
    EXPECT_TRUE(Last().uFlags & NIF_INFO) << c.kind;
    EXPECT_STREQ(Last().szInfoTitle, L"題名");
    EXPECT_STREQ(Last().szInfo, L"本文");
    EXPECT_EQ(Last().dwInfoFlags, c.flags) << c.kind;
  }
}

// The program's balloon switch sets Balloon to True twice on one click.
TEST_F(TrayTest, BalloonSwitchedOnOrOffGoesAtOnceAndOnlyWhenItChanges) {
  ASSERT_EQ(Set(dispid::kAutoRefresh, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kBalloonText, L"本文"), S_OK);
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(Set(dispid::kBalloon, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kBalloon, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kBalloon, Bool(false)), S_OK);
  EXPECT_EQ(Balloons(), (std::vector<std::wstring>{L"/本文", L"/"})) << "one balloon up, then taken down";
}

TEST_F(TrayTest, ABurstOfBalloonChangesGivesOneBalloonWithTheLastValuesOnceTheyStop) {
  ShowWithABalloonUp();
  std::wstring title;
  for (int i = 0; i < 20; ++i) {
    title += L'題';
    ASSERT_EQ(Set(dispid::kBalloonTitle, title.c_str()), S_OK);
  }
  EXPECT_TRUE(Balloons().empty()) << "a balloon for a change that others follow";
  ASSERT_TRUE(PumpUntil([&] { return !Balloons().empty(); })) << "the balloon never came";
  EXPECT_EQ(Balloons(), std::vector<std::wstring>{title + L"/本文"});
}

TEST_F(TrayTest, RefreshShowsAWaitingBalloonAtOnce) {
  ShowWithABalloonUp();
  ASSERT_EQ(Set(dispid::kBalloonTitle, L"今"), S_OK);
  ASSERT_EQ(Do(dispid::kRefresh), S_OK);
  EXPECT_EQ(Balloons(), std::vector<std::wstring>{L"今/本文"});
}

TEST_F(TrayTest, TextsAreCutToTheirFieldsWithoutSplittingACharacter) {
  const std::wstring tip = std::wstring(126, L'あ') + L"\U0001F600";  // a surrogate pair across the cut
  ASSERT_EQ(Set(dispid::kToolTipText, tip.c_str()), S_OK);
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  EXPECT_EQ(std::wstring(Last().szTip), std::wstring(126, L'あ'));
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR " + tip) << "the property keeps it whole";
}

TEST_F(TrayTest, WhenTheShellRefusesTheCallFailsAndTheControlStaysAsItWas) {
  shell.failing = {NIM_ADD};
  const Outcome show = Call(control.get(), dispid::kShowIcon);
  EXPECT_EQ(show.hr, DISP_E_EXCEPTION);
  EXPECT_FALSE(show.description.empty());
  shell.failing.clear();
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  ASSERT_EQ(Set(dispid::kAutoRefresh, Bool(true)), S_OK);
  ASSERT_EQ(Set(dispid::kToolTipText, L"前"), S_OK);
  shell.failing = {NIM_ADD, NIM_MODIFY};
  EXPECT_EQ(Set(dispid::kToolTipText, L"後"), DISP_E_EXCEPTION);
  EXPECT_EQ(Shown(control.get(), dispid::kToolTipText), L"VT_BSTR 前");
}

// Explorer, busy, may answer an add late with a timeout and still add it.
TEST_F(TrayTest, AnAddThatTimedOutButTookIsNotAddedAgain) {
  shell.failing = {NIM_ADD};
  shell.failingError = ERROR_TIMEOUT;
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  shell.failing.clear();
  ASSERT_EQ(Set(dispid::kToolTipText, L"後で"), S_OK);
  ASSERT_EQ(Do(dispid::kRefresh), S_OK);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_MODIFY}));
}

TEST_F(TrayTest, AnIconShownBeforeTheTaskBarIsAddedWhenItComes) {
  ShowBeforeTheTaskBar();
  TaskBarCreated();
  EXPECT_EQ(Messages(), std::vector<DWORD>{NIM_ADD});
}

// For a shell that never announces its task bar.
TEST_F(TrayTest, AnIconWaitingForTheTaskBarIsTriedAgainOnItsTimer) {
  ShowBeforeTheTaskBar();
  ASSERT_TRUE(::KillTimer(TrayWindow(), traylume::kTaskBarRetryTimer)) << "no try is due";
  ::SendMessageW(TrayWindow(), WM_TIMER, traylume::kTaskBarRetryTimer, 0);
  EXPECT_EQ(Messages(), std::vector<DWORD>{NIM_ADD});
}

TEST_F(TrayTest, HidingAnIconThatWaitsForTheTaskBarGivesUpWaiting) {
  ShowBeforeTheTaskBar();
  ASSERT_EQ(Do(dispid::kHideIcon), S_OK);
  TaskBarCreated();
  EXPECT_TRUE(shell.calls.empty());
}

// Explorer also announces its task bar when the display scale changes,
// while it still has the icon at the old size.
TEST_F(TrayTest, TheIconComesBackWithTheTaskBarAtTheSizeInForceThen) {
  ASSERT_EQ(Set(dispid::kToolTipText, L"戻る"), S_OK);
  ASSERT_EQ(Do(dispid::kShowIcon), S_OK);
  shell.calls.clear();
  system.smallIcon = {24, 24};
  TaskBarCreated();
  ASSERT_EQ(Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
  EXPECT_STREQ(Last().szTip, L"戻る");
  ASSERT_TRUE(shell.calls.back().icon);
  EXPECT_EQ(shell.calls.back().icon->size.cx, 24);
}

}  // namespace
}  // namespace traylume_tests

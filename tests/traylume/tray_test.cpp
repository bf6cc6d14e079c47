// What the control tells the shell: the notification icon added, updated
// and removed, its tooltip and balloon, and the icon coming back when the
// task bar is recreated. The shell's side is recorded (shell_spy.h).

#include <gtest/gtest.h>

#include <ole2.h>

#include <algorithm>
#include <string>

#include "contract/traylume_contract.h"
#include "tests/support/message_pump.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/support/test_pictures.h"
#include "traylume/user_texts.h"

namespace traylume_tests {
namespace {

using testing_support::PumpPending;
using testing_support::PumpUntil;
namespace dispid = contract::dispid;
using testing_support::SolidBitmapPicture;
using testing_support::SolidIconPicture;
using TrayTest = ControlTest;

constexpr UINT kCallbackMessage = WM_APP + 1;
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kRed = RGB(220, 0, 0);

void SetIcon(IDispatch* control, COLORREF color) {
  auto picture = SolidIconPicture(color);
  EXPECT_EQ(PutRef(control, dispid::kIcon, Object(picture.get())).hr, S_OK);
}

TEST_F(TrayTest, ShowIconAddsTheIconWithItsTooltipToAHiddenTopLevelWindow) {
  SetText(control_.get(), dispid::kToolTipText, L"ツールチップのテストです。");
  auto bitmap = SolidBitmapPicture(kGreen, 20, 12);  // a bitmap picture becomes an icon for the tray
  ASSERT_EQ(PutRef(control_.get(), dispid::kIcon, Object(bitmap.get())).hr, S_OK);
  ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);

  ASSERT_EQ(shell_->calls.size(), 1u);
  const auto& add = shell_->calls[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.data.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(add.data.uID, 1u);
  EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(add.data.uCallbackMessage, kCallbackMessage);
  EXPECT_EQ(std::wstring(add.data.szTip), L"ツールチップのテストです。");
  EXPECT_EQ(add.iconColor, kGreen);

  const HWND window = add.data.hWnd;
  ASSERT_TRUE(::IsWindow(window));
  EXPECT_EQ(::GetAncestor(window, GA_PARENT), ::GetDesktopWindow()) << "top-level, not message-only";
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(::GetWindowThreadProcessId(window, nullptr), ::GetCurrentThreadId());
  const auto windows = TrayWindowsOfThisThread();
  EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
}

TEST_F(TrayTest, NothingReachesTheShellBeforeShowIcon) {
  SetText(control_.get(), dispid::kToolTipText, L"a");
  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kAutoRefresh, Bool(true)).hr, S_OK);
  SetText(control_.get(), dispid::kToolTipText, L"b");
  SetIcon(control_.get(), kRed);
  ASSERT_EQ(Call(control_.get(), dispid::kHideIcon).hr, S_OK);
  EXPECT_TRUE(shell_->calls.empty());

  ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 1u);
  EXPECT_EQ(std::wstring(shell_->calls[0].data.szTip), L"b");
  EXPECT_EQ(shell_->calls[0].iconColor, kRed);
}

TEST_F(TrayTest, ShowIconAgainUpdatesAndHideIconRemovesOnce) {
  Call(control_.get(), dispid::kShowIcon);
  SetText(control_.get(), dispid::kToolTipText, L"新しい");
  ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_EQ(Call(control_.get(), dispid::kHideIcon).hr, S_OK);
  ASSERT_EQ(Call(control_.get(), dispid::kHideIcon).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 3u);
  EXPECT_EQ(shell_->calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(std::wstring(shell_->calls[1].data.szTip), L"新しい");
  EXPECT_EQ(shell_->calls[2].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(shell_->calls[2].data.uID, 1u);
  for (const auto& call : shell_->calls) EXPECT_EQ(call.data.hWnd, shell_->calls[0].data.hWnd);
  // Shown again: a new NIM_ADD.
  ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(shell_->calls.back().message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayTest, RefreshAppliesOnlyWhatChangedSinceTheLastApplication) {
  Call(control_.get(), dispid::kShowIcon);
  SetText(control_.get(), dispid::kToolTipText, L"変更後");
  EXPECT_EQ(shell_->calls.size(), 1u) << "AutoRefresh is off: nothing yet";
  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 2u);
  const auto& modify = shell_->calls[1];
  EXPECT_EQ(modify.message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(modify.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_TIP));
  EXPECT_EQ(std::wstring(modify.data.szTip), L"変更後");

  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  EXPECT_EQ(shell_->calls.size(), 2u) << "nothing left to apply";

  SetIcon(control_.get(), kRed);
  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 3u);
  EXPECT_EQ(shell_->calls[2].data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
  EXPECT_EQ(shell_->calls[2].iconColor, kRed);
}

TEST_F(TrayTest, AutoRefreshAppliesWhatIsPendingThenEachChangeAtOnce) {
  Call(control_.get(), dispid::kShowIcon);
  SetText(control_.get(), dispid::kToolTipText, L"保留中");
  ASSERT_EQ(Put(control_.get(), dispid::kAutoRefresh, Bool(true)).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 2u);
  EXPECT_EQ(std::wstring(shell_->calls[1].data.szTip), L"保留中");
  SetText(control_.get(), dispid::kToolTipText, L"すぐに");
  ASSERT_EQ(shell_->calls.size(), 3u);
  EXPECT_EQ(shell_->calls[2].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(std::wstring(shell_->calls[2].data.szTip), L"すぐに");
  SetIcon(control_.get(), kGreen);
  ASSERT_EQ(shell_->calls.size(), 4u);
  EXPECT_EQ(shell_->calls[3].iconColor, kGreen);
}

TEST_F(TrayTest, BalloonShowsWithTitleTextKindAndSound) {
  Call(control_.get(), dispid::kShowIcon);
  SetText(control_.get(), dispid::kBalloonTitle, L"お知らせ");
  SetText(control_.get(), dispid::kBalloonText, L"バルーンの本文です。");
  Put(control_.get(), dispid::kBalloon, Bool(true));
  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 2u);
  const auto& balloon = shell_->calls[1];
  EXPECT_EQ(balloon.message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(balloon.data.uFlags & NIF_INFO);
  EXPECT_EQ(std::wstring(balloon.data.szInfoTitle), L"お知らせ");
  EXPECT_EQ(std::wstring(balloon.data.szInfo), L"バルーンの本文です。");

  // Kinds outside 1 to 3 show no kind icon; without sound the shell is told so.
  Put(control_.get(), dispid::kAutoRefresh, Bool(true));
  const struct {
    long kind;
    bool sound;
    DWORD flags;
  } kinds[] = {{1, true, NIIF_INFO},  {2, true, NIIF_WARNING},  {3, true, NIIF_ERROR},
               {0, true, NIIF_NONE},  {4, true, NIIF_NONE},     {-1, true, NIIF_NONE},
               {2, false, NIIF_WARNING | NIIF_NOSOUND}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(std::to_string(kind.kind) + (kind.sound ? " with sound" : " silent"));
    ASSERT_EQ(Put(control_.get(), dispid::kBalloonSound, Bool(kind.sound)).hr, S_OK);
    ASSERT_EQ(Put(control_.get(), dispid::kBalloonIcon, I4(kind.kind)).hr, S_OK);
    EXPECT_EQ(shell_->calls.back().data.dwInfoFlags, kind.flags);
    EXPECT_EQ(Shown(control_.get(), dispid::kBalloonIcon), L"VT_I4 " + std::to_wstring(kind.kind));
  }
}

TEST_F(TrayTest, ShowIconWithBalloonOnAddsIconAndBalloonTogether) {
  SetText(control_.get(), dispid::kBalloonText, L"起動しました。");
  Put(control_.get(), dispid::kBalloonIcon, I4(1));
  Put(control_.get(), dispid::kBalloon, Bool(true));
  Call(control_.get(), dispid::kShowIcon);
  ASSERT_EQ(shell_->calls.size(), 1u);
  EXPECT_EQ(shell_->calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell_->calls[0].data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_EQ(std::wstring(shell_->calls[0].data.szInfo), L"起動しました。");
}

TEST_F(TrayTest, BalloonFalseTakesTheBalloonDown) {
  Call(control_.get(), dispid::kShowIcon);
  SetText(control_.get(), dispid::kBalloonText, L"表示中");
  Put(control_.get(), dispid::kBalloon, Bool(true));
  Call(control_.get(), dispid::kRefresh);
  Put(control_.get(), dispid::kBalloon, Bool(false));
  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 3u);
  EXPECT_TRUE(shell_->calls[2].data.uFlags & NIF_INFO);
  EXPECT_EQ(std::wstring(shell_->calls[2].data.szInfo), L"") << "an empty text removes the balloon";

  // Down already: later balloon settings reach the shell only with Balloon.
  SetText(control_.get(), dispid::kBalloonTitle, L"t");
  Call(control_.get(), dispid::kRefresh);
  EXPECT_EQ(shell_->calls.size(), 3u);
}

TEST_F(TrayTest, LongTextsAreCutToWhatTheShellHoldsNeverInsideASurrogatePair) {
  const std::wstring tip(300, L'あ'), title(100, L'題'), text(400, L'文');
  SetText(control_.get(), dispid::kToolTipText, tip);
  SetText(control_.get(), dispid::kBalloonTitle, title);
  SetText(control_.get(), dispid::kBalloonText, text);
  Put(control_.get(), dispid::kBalloon, Bool(true));
  ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  const auto& add = shell_->calls.at(0);
  EXPECT_EQ(std::wstring(add.data.szTip), tip.substr(0, 127));
  EXPECT_EQ(std::wstring(add.data.szInfoTitle), title.substr(0, 63));
  EXPECT_EQ(std::wstring(add.data.szInfo), text.substr(0, 255));
  // The properties keep the whole text.
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), tip);
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonText), text);

  // 126 characters, then one outside the BMP (two UTF-16 units) across the cut.
  SetText(control_.get(), dispid::kToolTipText, std::wstring(126, L'a') + L"\U0001F600" + L"bc");
  Call(control_.get(), dispid::kShowIcon);
  EXPECT_EQ(std::wstring(shell_->calls.at(1).data.szTip), std::wstring(126, L'a'));
}

TEST_F(TrayTest, ShellRefusingTheIconIsAnExceptionTheUserCanRead) {
  shell_->failing = {NIM_ADD};
  Outcome outcome = Call(control_.get(), dispid::kShowIcon);
  EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.description, traylume::texts::kShowFailed);
  EXPECT_EQ(outcome.source, L"TraylumeControl.Traylume");
  // Nothing shown: hiding tells the shell nothing; a later attempt works.
  Call(control_.get(), dispid::kHideIcon);
  EXPECT_TRUE(CallsOf(NIM_DELETE).empty());
  shell_->failing.clear();
  EXPECT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(CallsOf(NIM_ADD).size(), 2u);
}

TEST_F(TrayTest, AnIconTheShellLostIsAddedAgain) {
  Call(control_.get(), dispid::kShowIcon);
  shell_->failing = {NIM_MODIFY};  // the shell no longer knows the icon
  SetText(control_.get(), dispid::kToolTipText, L"戻った");
  ASSERT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
  ASSERT_EQ(shell_->calls.size(), 3u);
  EXPECT_EQ(shell_->calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell_->calls[2].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(std::wstring(shell_->calls[2].data.szTip), L"戻った");

  shell_->failing = {NIM_MODIFY, NIM_ADD};
  SetText(control_.get(), dispid::kToolTipText, L"だめ");
  Outcome outcome = Call(control_.get(), dispid::kRefresh);
  EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.description, traylume::texts::kUpdateFailed);
}

TEST_F(TrayTest, TaskbarCreatedAddsAShownIconAgainWithItsLastAppliedStateAndNoHiddenOne) {
  const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
  SetText(control_.get(), dispid::kToolTipText, L"適用済み");
  SetIcon(control_.get(), kGreen);
  Call(control_.get(), dispid::kShowIcon);
  SetText(control_.get(), dispid::kToolTipText, L"未適用");
  const HWND window = IconWindow();
  size_t before = shell_->calls.size();

  ASSERT_TRUE(::PostMessageW(window, taskbarCreated, 0, 0));
  ASSERT_TRUE(PumpUntil([&] { return shell_->calls.size() > before; }));
  const auto& again = shell_->calls.back();
  EXPECT_EQ(again.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(std::wstring(again.data.szTip), L"適用済み");
  EXPECT_EQ(again.iconColor, kGreen);
  EXPECT_TRUE(again.data.uFlags & NIF_MESSAGE);
  EXPECT_EQ(again.data.uCallbackMessage, kCallbackMessage);

  Call(control_.get(), dispid::kHideIcon);
  before = shell_->calls.size();
  ::SendMessageW(window, taskbarCreated, 0, 0);
  EXPECT_EQ(shell_->calls.size(), before) << "a hidden icon stays hidden";
}

TEST_F(TrayTest, CloseRemovesTheIconAndItsWindow) {
  Call(control_.get(), dispid::kShowIcon);
  const HWND window = IconWindow();
  common::ComPtr<IOleObject> object;
  ASSERT_EQ(control_.As(&object), S_OK);
  ASSERT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
  ASSERT_EQ(CallsOf(NIM_DELETE).size(), 1u);
  EXPECT_EQ(CallsOf(NIM_DELETE)[0].data.hWnd, window);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_TRUE(TrayWindowsOfThisThread().empty());
  // Asked to show it again, the control does.
  ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(shell_->calls.back().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(::IsWindow(shell_->calls.back().data.hWnd));
}

TEST_F(TrayTest, AWindowDestroyedFromOutsideTakesItsIconAlong) {
  Call(control_.get(), dispid::kShowIcon);
  const HWND window = IconWindow();
  ::PostMessageW(window, WM_CLOSE, 0, 0);  // refused: the window lives as long as its control
  PumpPending();
  ASSERT_TRUE(::IsWindow(window));
  ASSERT_TRUE(::DestroyWindow(window));
  ASSERT_EQ(CallsOf(NIM_DELETE).size(), 1u);
  EXPECT_EQ(CallsOf(NIM_DELETE)[0].data.hWnd, window);
  EXPECT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_NE(shell_->calls.back().data.hWnd, window);
}

TEST_F(TrayTest, EachControlShowsItsOwnIconAndItsFinalReleaseRemovesIt) {
  auto second = NewControl();
  Call(control_.get(), dispid::kShowIcon);
  Call(second.get(), dispid::kShowIcon);
  ASSERT_EQ(CallsOf(NIM_ADD).size(), 2u);
  const HWND secondWindow = CallsOf(NIM_ADD)[1].data.hWnd;
  EXPECT_NE(CallsOf(NIM_ADD)[0].data.hWnd, secondWindow);
  EXPECT_TRUE(CallsOf(NIM_ADD)[1].iconColor.has_value()) << "the control's own icon until another is set";
  second.reset();
  ASSERT_EQ(CallsOf(NIM_DELETE).size(), 1u);
  EXPECT_EQ(CallsOf(NIM_DELETE)[0].data.hWnd, secondWindow);
  EXPECT_FALSE(::IsWindow(secondWindow));
}

TEST_F(TrayTest, IconHandlesAreDestroyedOnceNeitherTheShellNorTheControlNeedsThem) {
  const auto alive = [](HICON icon) {
    ICONINFO parts{};
    if (!::GetIconInfo(icon, &parts)) return false;
    ::DeleteObject(parts.hbmColor);
    ::DeleteObject(parts.hbmMask);
    return true;
  };
  SetIcon(control_.get(), kGreen);
  Call(control_.get(), dispid::kShowIcon);
  const HICON first = shell_->calls.back().data.hIcon;
  SetIcon(control_.get(), kRed);
  EXPECT_TRUE(alive(first)) << "still in the tray until the change is applied";
  Call(control_.get(), dispid::kRefresh);
  const HICON second = shell_->calls.back().data.hIcon;
  ASSERT_NE(first, second);
  EXPECT_FALSE(alive(first));
  EXPECT_TRUE(alive(second));
  control_.reset();
  EXPECT_FALSE(alive(second));
}

}  // namespace
}  // namespace traylume_tests

// The real program with the real control in a Wine virtual desktop, driven
// as a user would: 表示! puts the saved icon in the tray, a click on it
// reaches the event log, 非表示! takes it away, and closing the window
// leaves no icon behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/control_ids.h"
#include "tests/e2e/desktop.h"
#include "tests/e2e/driver.h"
#include "tests/support/control_server.h"

namespace e2e {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr RECT kTray{kWidth - 64, kHeight - 32, kWidth, kHeight};  // where the first icon shows
// The saved icon's squares: its outer ring black, its inner ones grey; the
// task bar around it has neither in these numbers.
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);

TEST(TrayEndToEnd, ShowClickVanishAndClose) {
  support::UnregisterControl();
  Desktop desktop;
  ASSERT_EQ(desktop.Open(L"traylume-e2e-" + std::to_wstring(::GetCurrentProcessId()), kWidth, kHeight), S_OK);
  auto shows = [&] { return desktop.Count(kTray, kBlack) >= 24 && desktop.Count(kTray, kGrey) >= 12; };
  ASSERT_FALSE(shows()) << "an icon is there before the program";
  Program program;
  const HWND form = program.Start(BinFolder() + L"\\TraylumeSample.exe", app::kForm1Class, desktop.name());
  ASSERT_TRUE(form) << Utf8(program.Dialogs());
  auto control = [&](app::Ctl id) { return ::GetDlgItem(form, app::IdOf(id)); };

  ASSERT_TRUE(Send(control(app::Ctl::cmdShow), BM_CLICK)) << Utf8(program.Dialogs());
  ASSERT_TRUE(WaitUntil(shows, 5000)) << "no icon in the tray after 表示!";
  POINT icon{};
  desktop.Count(kTray, kBlack, &icon);
  ASSERT_EQ(desktop.ClickAt(icon), S_OK);
  std::vector<std::wstring> lines;
  auto logged = [&](const wchar_t* line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(WaitUntil(
      [&] {
        lines = ListBoxLines(control(app::Ctl::lstEvent));
        return logged(L"左ボタンが押されました。") && logged(L"左ボタンが離されました。");
      },
      5000));
  LRESULT selected = -1;
  Send(control(app::Ctl::lstEvent), LB_GETCURSEL, 0, 0, &selected);
  EXPECT_EQ(selected, static_cast<LRESULT>(lines.size()) - 1);

  ASSERT_TRUE(Send(control(app::Ctl::cmdVanish), BM_CLICK));
  EXPECT_TRUE(WaitUntil([&] { return !shows(); }, 5000)) << "the icon stays after 非表示!";
  ASSERT_TRUE(Send(control(app::Ctl::cmdShow), BM_CLICK));
  ASSERT_TRUE(WaitUntil(shows, 5000));
  EXPECT_EQ(program.Dialogs(), L"");
  ::PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(kAnswerMs), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([&] { return !shows(); }, 5000)) << "the icon outlives the program";
}

}  // namespace
}  // namespace e2e

// The real program with the real control in a Wine virtual desktop, driven
// as a user would: its notification icon appears in the desktop's tray,
// answers a mouse click with lines in the event log, goes away, and shows a
// newly loaded icon at once while automatic refresh is on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/control_ids.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/control_registration.h"
#include "tests/e2e/e2e_paths.h"
#include "tests/e2e/virtual_desktop.h"
#include "tests/e2e/window_driver.h"

namespace e2e {
namespace {

constexpr int kDesktopWidth = 1024;
constexpr int kDesktopHeight = 768;
// Where the task bar shows the first notification icon (bottom right).
constexpr RECT kTrayArea{kDesktopWidth - 64, kDesktopHeight - 32, kDesktopWidth, kDesktopHeight};

constexpr DWORD kWindowMs = 15000;
constexpr DWORD kHandlerMs = 10000;
constexpr DWORD kTrayMs = 5000;
constexpr DWORD kExitMs = 10000;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kMagenta = 0xFF00FF;

// The saved icon's outer squares are black and its inner ones grey; drawn
// at 16 x 16 that is well over these counts, and nothing else in the tray
// area has these colours.
bool ShowsSavedIcon(const ScreenArea& area) { return area.Count(kBlack) >= 24 && area.Count(kGrey) >= 12; }
bool ShowsMagentaIcon(const ScreenArea& area) { return area.Count(kMagenta) >= 12 * 12; }

// A 32 x 32, 16-colour .ico file of one solid colour (palette index 13, magenta).
void WriteMagentaIcon(const std::wstring& path) {
  std::string bytes;
  auto u16 = [&](unsigned v) { bytes += static_cast<char>(v & 0xFF), bytes += static_cast<char>(v >> 8); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  u16(0), u16(1), u16(1);                                    // icon file, one image
  bytes += '\x20', bytes += '\x20', bytes += '\x10', bytes += '\0';  // 32 x 32, 16 colours
  u16(1), u16(4), u32(744), u32(22);                         // planes, bits, size, offset
  u32(40), u32(32), u32(64), u16(1), u16(4), u32(0), u32(640), u32(0), u32(0), u32(0), u32(0);
  for (int i = 0; i < 16; ++i) u32(i == 13 ? 0x00FF00FF : 0);
  bytes.append(512, '\xDD');                                 // every pixel index 13
  bytes.append(128, '\0');                                   // mask: all opaque
  std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

class TrayEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // Registration-free: the control next to the program.
    ControlServer(ControlPath()).Unregister();

    static int run = 0;
    const std::wstring name =
        L"traylume-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++run);
    ASSERT_EQ(desktop_.Open(name, kDesktopWidth, kDesktopHeight), S_OK) << "no virtual desktop";
    const ScreenArea empty = desktop_.Capture(kTrayArea);
    ASSERT_FALSE(empty.pixels.empty()) << "cannot read the screen";
    ASSERT_FALSE(ShowsSavedIcon(empty)) << "the tray shows the icon before the program runs";

    ASSERT_EQ(program_.Start(L"\"" + ProgramPath() + L"\"", desktop_.name()), S_OK);
    form_ = WaitForProgramWindow(program_, app::kForm1Class, kWindowMs);
    ASSERT_TRUE(form_) << "no window; the program says: " << Utf8(DialogTexts(program_.id()));
    EXPECT_EQ(WindowText(form_), L"Traylumeコントロール サンプルプログラム");
  }

  // Closing the window ends the program with 0 and takes its icon away.
  void TearDown() override {
    if (!form_) return;
    EXPECT_EQ(DialogTexts(program_.id()), L"") << "the program reports a failure";
    ASSERT_TRUE(::PostMessageW(form_, WM_CLOSE, 0, 0));
    const auto exitCode = program_.WaitForExit(kExitMs);
    ASSERT_TRUE(exitCode.has_value()) << "still running after WM_CLOSE";
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_TRUE(WaitUntil(
        [&] {
          const ScreenArea tray = Tray();
          return !ShowsSavedIcon(tray) && !ShowsMagentaIcon(tray);
        },
        kTrayMs))
        << "the icon outlives the program";
  }

  HWND Control(app::Ctl id) const { return ::GetDlgItem(form_, app::IdOf(id)); }
  ScreenArea Tray() const { return desktop_.Capture(kTrayArea); }

  // Presses a button; a handler that does not return (a message box) fails.
  void Press(app::Ctl id) {
    ASSERT_TRUE(ClickButton(Control(id), kHandlerMs))
        << "the click did not return; the program says: " << Utf8(DialogTexts(program_.id()));
    EXPECT_EQ(DialogTexts(program_.id()), L"");
  }

  VirtualDesktop desktop_;  // declared first: ends last, after the program
  ChildProcess program_;
  HWND form_ = nullptr;
};

TEST_F(TrayEndToEnd, ShowPutsTheSavedIconInTheTrayAClickIsLoggedAndVanishTakesItAway) {
  ASSERT_NO_FATAL_FAILURE(Press(app::Ctl::cmdShow));
  ScreenArea tray;
  ASSERT_TRUE(WaitUntil([&] { return ShowsSavedIcon(tray = Tray()); }, kTrayMs))
      << "no saved icon in the tray after cmdShow";

  const RECT icon = tray.BoundsOf({kBlack, kGrey});
  EXPECT_LE(icon.right - icon.left, 16);
  EXPECT_LE(icon.bottom - icon.top, 16);
  const HWND log = Control(app::Ctl::lstEvent);
  const size_t before = ListBoxLines(log, kHandlerMs).size();
  ASSERT_EQ(desktop_.ClickAt((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2), S_OK);

  // Pointer moves may add lines in between; the press comes before the release.
  std::vector<std::wstring> added;
  const bool logged = WaitUntil(
      [&] {
        const std::vector<std::wstring> lines = ListBoxLines(log, kHandlerMs);
        added.assign(lines.begin() + std::min(before, lines.size()), lines.end());
        const auto down = std::find(added.begin(), added.end(), L"左ボタンが押されました。");
        return down != added.end() && std::find(down, added.end(), L"左ボタンが離されました。") != added.end();
      },
      kTrayMs);
  std::string seen;
  for (const auto& line : added) seen += Utf8(line) + " / ";
  EXPECT_TRUE(logged) << "log lines after the click: " << seen;
  for (const auto& line : added) {
    EXPECT_TRUE(line == L"カーソルが通過しました。" || line == L"左ボタンが押されました。" ||
                line == L"左ボタンが離されました。")
        << Utf8(line);
  }

  ASSERT_NO_FATAL_FAILURE(Press(app::Ctl::cmdVanish));
  EXPECT_TRUE(WaitUntil([&] { return !ShowsSavedIcon(Tray()); }, kTrayMs)) << "the icon stays after cmdVanish";
}

TEST_F(TrayEndToEnd, WithAutoRefreshALoadedIconReplacesTheShownOneAtOnce) {
  const std::wstring folder = MakeScratchFolder();
  ASSERT_FALSE(folder.empty());
  const std::wstring iconFile = folder + L"マゼンタ.ico";
  WriteMagentaIcon(iconFile);

  ASSERT_NO_FATAL_FAILURE(Press(app::Ctl::cmdShow));
  ASSERT_TRUE(WaitUntil([&] { return ShowsSavedIcon(Tray()); }, kTrayMs)) << "no saved icon after cmdShow";

  ASSERT_NO_FATAL_FAILURE(Press(app::Ctl::chkRefresh));
  LRESULT check = BST_UNCHECKED;
  EXPECT_TRUE(SendWithTimeout(Control(app::Ctl::chkRefresh), BM_GETCHECK, 0, 0, kHandlerMs, &check));
  EXPECT_EQ(check, BST_CHECKED);
  ASSERT_TRUE(SetWindowTextTo(Control(app::Ctl::txtIconName), iconFile, kHandlerMs));
  ASSERT_NO_FATAL_FAILURE(Press(app::Ctl::cmdLoad));

  ScreenArea tray;
  EXPECT_TRUE(WaitUntil([&] { return ShowsMagentaIcon(tray = Tray()) && !ShowsSavedIcon(tray); }, kTrayMs))
      << "the tray does not show the loaded icon (" << tray.Count(kMagenta) << " magenta pixels)";

  ::DeleteFileW(iconFile.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace e2e

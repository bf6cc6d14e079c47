// Start-up: the window, what Form_Load asks of the control, a failing step,
// the tab order and what the keys do; the program without its control says
// why and ends with 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/texts.h"
#include "common/hresult.h"
#include "common/module.h"
#include "common/text.h"
#include "contract/traylume_contract.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"
#include "tests/support/control_server.h"
#include "tests/support/pictures.h"
#include "tests/support/program.h"

namespace app_tests {
namespace {

using StartupTest = FormTest;
using Calls = std::vector<std::wstring>;

TEST_F(StartupTest, TheWindowFollowsTheDpiTheLoadSelectsTheFirstKindDrawsTheIconAndSetsTheBalloonSwitch) {
  CreateForm(144);  // where the box is larger than the 16 x 16 preview
  RECT client{};  // the client area follows the DPI (500 x 418 at 96), and cannot be resized
  ::GetClientRect(form->hwnd(), &client);
  EXPECT_TRUE(client.right == 750 && client.bottom == 627) << client.right << "x" << client.bottom;
  EXPECT_EQ(::GetWindowLongPtrW(form->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU),
            WS_SYSMENU);
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"let BalloonIcon VT_I4 0", L"get Icon",
                                 L"get BalloonSupported", L"get Icon"}));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(::SendMessageW(Control(Ctl::cboInfoIcon), CB_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(Enabled(Ctl::chkBalloon));
  int drawn = 0;  // where the saved icon is drawn (the preview itself is the icon file test's)
  for (int i = 0; i < 16 * 16; ++i) drawn += Preview(i % 16, i / 16) != ::GetSysColor(COLOR_BTNFACE);
  EXPECT_GT(drawn, 64) << "the saved icon is not in the top-left 16 x 16";
  EXPECT_TRUE(shell.calls.empty()) << "start-up shows no icon";
  proxy = common::make<support::RecordingProxy>(real);  // where balloons cannot be shown
  proxy->Answer(L"BalloonSupported", support::Bool(false));
  CreateForm();
  EXPECT_FALSE(Enabled(Ctl::chkBalloon));
}

// A control that cannot be hosted is shown too, and the load still talks to it.
TEST_F(StartupTest, AFailingStepIsShownOnceAndTheLoadStopsThereWhileTheWindowOpens) {
  proxy->Fail(L"Icon", E_FAIL, L"絵がありません");
  CreateForm();
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"let BalloonIcon VT_I4 0", L"get Icon"}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(L"絵がありません"), std::wstring::npos);
  EXPECT_TRUE(::IsWindow(form->hwnd()));
  messages.clear();
  proxy = common::make<support::RecordingProxy>(real);
  proxy->Fail(L"Load", E_ACCESSDENIED);
  CreateForm();
  ASSERT_GE(messages.size(), 1u);
  EXPECT_NE(messages[0].find(app::texts::kHostComponent), std::wstring::npos);
  EXPECT_EQ(proxy->calls.back(), L"get Icon");
}

TEST_F(StartupTest, TabMovesByTabIndexSkippingWhatCannotTakeTheFocus) {
  CreateForm();
  form->Show(SW_SHOW);
  PumpPending();
  ASSERT_EQ(::GetFocus(), Control(Ctl::cmdShow));
  auto tab = [&](bool backward) {
    Press(VK_TAB, backward);
    return ::GetFocus();
  };
  for (Ctl next : {Ctl::cmdVanish, Ctl::txtToolTip, Ctl::chkBalloon, Ctl::chkRefresh}) EXPECT_EQ(tab(false), Control(next));
  EXPECT_EQ(tab(true), Control(Ctl::chkBalloon)) << "the disabled balloon fields are skipped";
  Press(VK_SPACE);
  const Ctl cycle[] = {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon, Ctl::chkBalloonSound,
                       Ctl::chkRefresh,      Ctl::cmdRefresh,     Ctl::picIcon,     Ctl::cmdLoad,
                       Ctl::txtIconName,     Ctl::lstEvent,       Ctl::cmdShow};
  for (Ctl next : cycle) EXPECT_EQ(tab(false), Control(next)) << "with the balloon on, before " << app::IdOf(next);
  EXPECT_EQ(tab(true), Control(Ctl::lstEvent)) << "backwards from the first wraps to the last";
}

// Whether the log's menu came up. Every menu is closed again at once, from
// inside its loop, which passes each message to the thread's filter.
bool logMenuSeen = false;
LRESULT CALLBACK CloseMenus(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU) {
    const HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (popup && ::IsWindowVisible(popup)) {
      const auto menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
      if (::GetMenuItemID(menu, 0) == static_cast<UINT>(app::IdOf(app::LogMenu::mnuLogCopy))) logMenuSeen = true;
      ::EndMenu();
    } else {
      // Wine enters the window's own menu when Shift+F10 is let go.
      ::PostMessageW(::GetActiveWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// What the handlers' test does not press: an icon file typed and loaded,
// the log's lines one by one and its copy menu.
TEST_F(StartupTest, TheIconFileAndTheLogWorkFromTheKeyboard) {
  CreateForm();
  form->Show(SW_SHOW);
  PumpPending();
  for (UINT callback : {WM_LBUTTONDOWN, WM_LBUTTONUP}) TrayCallback(callback);
  PumpPending();
  // An icon file typed into its box, then loaded.
  const std::wstring path = common::FolderOf(common::ModulePath(nullptr)) + L"\\キー.ico";
  std::ofstream(path.c_str(), std::ios::binary) << support::SolidIconFile(RGB(0, 0, 200), 16);
  ::SetFocus(Control(Ctl::txtIconName));
  Type(Ctl::txtIconName, path);
  ::SetFocus(Control(Ctl::cmdLoad));
  proxy->calls.clear();
  Press(VK_SPACE);
  EXPECT_EQ(proxy->calls, (std::vector<std::wstring>{L"putref Icon VT_DISPATCH", L"get Icon"}));
  ::DeleteFileW(path.c_str());
  ::SetFocus(Control(Ctl::lstEvent));
  ::SendMessageW(Control(Ctl::lstEvent), LB_SETCURSEL, 0, 0);
  Press(VK_DOWN);
  EXPECT_EQ(LogSelection(), 1);
  const HHOOK filter = ::SetWindowsHookExW(WH_MSGFILTER, &CloseMenus, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(filter);
  const UINT_PTR ticks = ::SetTimer(nullptr, 0, 50, nullptr);  // messages for a menu's loop to filter
  // The menu key gives the same message on Windows; Wine does not send it.
  Press(VK_F10, true);
  ::KillTimer(nullptr, ticks);
  EXPECT_TRUE(logMenuSeen);
  ::UnhookWindowsHookEx(filter);
  EXPECT_TRUE(messages.empty());
}

TEST(Startup, WithoutItsControlTheProgramSaysWhyInOneMessageAndEndsWith1) {
  support::UnregisterControl();  // neither registered nor beside the program
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"traylume_alone";
  const std::wstring program = folder + L"\\TraylumeSample.exe";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW((common::FolderOf(common::ModulePath(nullptr)) + L"\\TraylumeSample.exe").c_str(),
                          program.c_str(), FALSE));
  {
    support::Program alone(L"\"" + program + L"\"");
    const HWND box = alone.WaitForWindow(L"#32770", [] { return true; });
    ASSERT_NE(box, nullptr) << "no message";
    wchar_t text[2048] = {};  // the box may be up before its text is
    for (ULONGLONG deadline = ::GetTickCount64() + support::Program::kPatienceMs;
         !::GetDlgItemTextW(box, 0xFFFF, text, 2048) && ::GetTickCount64() < deadline;) {
      ::Sleep(20);
    }
    // What failed; then each way on its own line with its code and the
    // system's reason: no such ProgID, and no file beside the program.
    const std::wstring said = text, fileNotFound = common::SystemMessage(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(said.find(app::texts::CreateComponent(contract::kProgId, contract::kFileName)), std::wstring::npos);
    std::wstring byName, byFile;
    for (size_t at = 0, end = 0; at < said.size(); at = end + 1) {
      const std::wstring line = said.substr(at, (end = std::min(said.find(L'\n', at), said.size())) - at);
      if (line.find(L"0x800401F3") != std::wstring::npos) byName = line;
      if (line.find(std::wstring(L"\\") + contract::kFileName) != std::wstring::npos) byFile = line;
    }
    EXPECT_TRUE(byName.find(common::SystemMessage(CO_E_CLASSSTRING)) != std::wstring::npos &&
                byName.find(fileNotFound) == std::wstring::npos) << common::Utf8(said);
    EXPECT_TRUE(byFile.find(L"0x80070002") != std::wstring::npos && byFile.find(fileNotFound) != std::wstring::npos)
        << common::Utf8(said);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(alone.ExitCode(), 1u) << "a second message, or no end";
  }
  ::DeleteFileW(program.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace app_tests

// Each control event makes its handler's calls on Traylume1, exactly, from
// the keyboard as from the mouse; the balloon switch sets the fields' looks;
// a failing call is shown once and stops its handler; the log's menu comes
// up from the keyboard and copies to the clipboard.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "common/module.h"
#include "common/unique_handle.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"

namespace app_tests {
namespace {

using HandlersTest = FormTest;
using Calls = std::vector<std::wstring>;

constexpr Ctl kBalloonFields[] = {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon, Ctl::chkBalloonSound};

// Buttons, check boxes and the kind list worked with their keys, as from
// the mouse they give the same notifications.
TEST_F(HandlersTest, EachEditOrKeyMakesItsCallsOnTheControl) {
  CreateForm();
  form->Show(SW_SHOW);
  PumpPending();
  const std::wstring iconFile = common::FolderOf(common::ModulePath(nullptr)) + L"\\キー.ico";
  std::ofstream(iconFile.c_str(), std::ios::binary) << support::SolidIconFile(RGB(0, 0, 200), 16);
  auto key = [&](Ctl id, UINT key) {
    ::SetFocus(Control(id));
    Press(key);
  };
  const struct {
    const char* name;
    std::function<void()> act;
    Calls expected;
  } cases[] = {
      {"tooltip emptied",
       [&] {
         ::SendMessageW(Control(Ctl::txtToolTip), EM_SETSEL, 0, -1);
         ::SendMessageW(Control(Ctl::txtToolTip), WM_CLEAR, 0, 0);
       },
       {L"let ToolTipText VT_BSTR "}},
      {"tooltip typed", [&] { Type(Ctl::txtToolTip, L"一二"); }, {L"let ToolTipText VT_BSTR 一", L"let ToolTipText VT_BSTR 一二"}},
      {"balloon on", [&] { key(Ctl::chkBalloon, VK_SPACE); }, {L"get BalloonSupported", L"let Balloon VT_BOOL -1", L"let Balloon VT_BOOL -1"}},
      {"title", [&] { SetText(Ctl::txtBalloonTitle, L"題"); }, {L"let BalloonTitle VT_BSTR 題"}},
      {"text", [&] { Type(Ctl::txtBalloonText, L"一\r"); }, {L"let BalloonText VT_BSTR 一", L"let BalloonText VT_BSTR 一\r\n"}},
      {"next kind", [&] { key(Ctl::cboInfoIcon, VK_DOWN); }, {L"let BalloonIcon VT_I4 1"}},
      {"sound off", [&] { key(Ctl::chkBalloonSound, VK_SPACE); }, {L"let BalloonSound VT_BOOL 0"}},
      {"sound on", [&] { key(Ctl::chkBalloonSound, VK_SPACE); }, {L"let BalloonSound VT_BOOL -1"}},
      {"refresh on", [&] { key(Ctl::chkRefresh, VK_SPACE); }, {L"let AutoRefresh VT_BOOL -1"}},
      {"refresh off", [&] { key(Ctl::chkRefresh, VK_SPACE); }, {L"let AutoRefresh VT_BOOL 0"}},
      {"refresh", [&] { key(Ctl::cmdRefresh, VK_SPACE); }, {L"call Refresh"}},
      {"show", [&] { key(Ctl::cmdShow, VK_SPACE); }, {L"call ShowIcon"}},
      {"vanish", [&] { key(Ctl::cmdVanish, VK_SPACE); }, {L"call HideIcon"}},
      {"icon file typed", [&] { Type(Ctl::txtIconName, iconFile); }, {}},
      {"load", [&] { key(Ctl::cmdLoad, VK_SPACE); }, {L"putref Icon VT_DISPATCH", L"get Icon"}},
  };
  for (const auto& c : cases) {
    proxy->calls.clear();
    c.act();
    EXPECT_EQ(proxy->calls, c.expected) << c.name;
  }
  EXPECT_TRUE(messages.empty());
  ::DeleteFileW(iconFile.c_str());
}

TEST_F(HandlersTest, TheBalloonSwitchSendsBalloonAndSetsTheFieldsLooks) {
  CreateForm();
  // Each click: what is sent, then whether the four fields are usable and the three boxes' background.
  auto click = [&](const Calls& sent, bool on) {
    proxy->calls.clear();
    Click(Ctl::chkBalloon);
    EXPECT_EQ(proxy->calls, sent);
    for (Ctl field : kBalloonFields) EXPECT_EQ(Enabled(field), on) << app::IdOf(field);
    for (Ctl field : {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon}) {
      EXPECT_EQ(Background(field), on ? COLOR_WINDOW : COLOR_BTNFACE) << app::IdOf(field);
    }
  };
  click({L"get BalloonSupported", L"let Balloon VT_BOOL -1", L"let Balloon VT_BOOL -1"}, true);
  click({L"get BalloonSupported", L"let Balloon VT_BOOL 0"}, false);
  proxy->Answer(L"BalloonSupported", support::Bool(false));  // checking it where balloons cannot be shown
  click({L"get BalloonSupported", L"let Balloon VT_BOOL 0"}, false);
  EXPECT_EQ(::SendMessageW(Control(Ctl::chkBalloon), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(messages.empty());
}

TEST_F(HandlersTest, AFailingCallIsShownOnceWithItsReasonAndItsHandlerStops) {
  CreateForm();
  proxy->Fail(L"Balloon", E_ACCESSDENIED, L"いまは無理です");
  proxy->calls.clear();
  Click(Ctl::chkBalloon);
  EXPECT_EQ(proxy->calls, (Calls{L"get BalloonSupported", L"let Balloon VT_BOOL -1"}));
  EXPECT_FALSE(Enabled(Ctl::txtBalloonTitle)) << "the handler went on after the failure";
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(L"いまは無理です"), std::wstring::npos);  // the message itself is the Report test's
}

TEST_F(HandlersTest, TheMenuCopiesTheSelectedLineOrEveryLine) {
  CreateForm();
  for (UINT callback : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) TrayCallback(callback);
  PumpPending();
  HWND log = Control(Ctl::lstEvent);
  ::SendMessageW(log, LB_SETCURSEL, 1, 0);  // the user picks the middle line
  const std::vector<std::wstring> lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  auto clipboard = [] {
    std::wstring text;
    EXPECT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data) text = static_cast<const wchar_t*>(common::GlobalMemoryLock(data).get());
    EXPECT_TRUE(::CloseClipboard());
    return text;
  };
  ::SendMessageW(form->hwnd(), WM_COMMAND, app::IdOf(app::LogMenu::mnuLogCopy), 0);
  EXPECT_EQ(clipboard(), lines[1]);
  ::SendMessageW(form->hwnd(), WM_COMMAND, app::IdOf(app::LogMenu::mnuLogCopyAll), 0);
  EXPECT_EQ(clipboard(), lines[0] + L"\r\n" + lines[1] + L"\r\n" + lines[2]);
  EXPECT_EQ(LogLines(), lines) << "copying changed the log";
  EXPECT_EQ(LogSelection(), 1);
  EXPECT_TRUE(messages.empty());
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

// The menu key gives the same message on Windows; Wine does not send it.
TEST_F(HandlersTest, ShiftF10InTheLogOpensItsMenu) {
  CreateForm();
  form->Show(SW_SHOW);
  PumpPending();
  ::SetFocus(Control(Ctl::lstEvent));
  const HHOOK filter = ::SetWindowsHookExW(WH_MSGFILTER, &CloseMenus, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(filter);
  const UINT_PTR ticks = ::SetTimer(nullptr, 0, 50, nullptr);  // messages for a menu's loop to filter
  ASSERT_NE(ticks, 0u);
  Press(VK_F10, true);
  EXPECT_TRUE(::KillTimer(nullptr, ticks));
  EXPECT_TRUE(logMenuSeen);
  EXPECT_TRUE(::UnhookWindowsHookEx(filter));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace app_tests

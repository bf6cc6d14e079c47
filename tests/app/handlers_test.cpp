// Each control event makes its handler's calls on Traylume1, exactly, from
// the keyboard as from the mouse; the balloon switch sets the fields' looks;
// a failing call is shown once and stops its handler; the log menu copies
// to the clipboard; the message.
#include <gtest/gtest.h>

#include <functional>

#include "app/report.h"
#include "app/texts.h"
#include "common/hresult.h"
#include "common/unique_handle.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"

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
      {"icon path", [&] { SetText(Ctl::txtIconName, L"C:\\a.ico"); }, {}},
  };
  for (const auto& c : cases) {
    proxy->calls.clear();
    c.act();
    EXPECT_EQ(proxy->calls, c.expected) << c.name;
  }
  EXPECT_TRUE(messages.empty());
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
  EXPECT_EQ(::SendMessageW(Control(Ctl::chkBalloonSound), BM_GETCHECK, 0, 0), BST_CHECKED);
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
    HANDLE data = ::OpenClipboard(nullptr) ? ::GetClipboardData(CF_UNICODETEXT) : nullptr;
    if (data) text = static_cast<const wchar_t*>(common::GlobalMemoryLock(data).get());
    return ::CloseClipboard(), text;
  };
  ::SendMessageW(form->hwnd(), WM_COMMAND, app::IdOf(app::LogMenu::mnuLogCopy), 0);
  EXPECT_EQ(clipboard(), lines[1]);
  ::SendMessageW(form->hwnd(), WM_COMMAND, app::IdOf(app::LogMenu::mnuLogCopyAll), 0);
  EXPECT_EQ(clipboard(), lines[0] + L"\r\n" + lines[1] + L"\r\n" + lines[2]);
  EXPECT_EQ(LogLines(), lines) << "copying changed the log";
  EXPECT_EQ(LogSelection(), 1);
  EXPECT_TRUE(messages.empty());
}

// The one message: the step after its label, the reason after its own (the
// system's text where the failure has none, or a word that there is none),
// and the code as eight upper-case hex digits.
TEST(Report, TheMessageNamesTheStepTheReasonAndTheCode) {
  const std::wstring text = app::FailureText(common::ComResult::Failure(E_ACCESSDENIED, L"手順"));
  EXPECT_NE(text.find(std::wstring(app::texts::kFailureOperation) + L"手順\r\n"), std::wstring::npos);
  EXPECT_NE(text.find(std::wstring(app::texts::kFailureReason) + common::SystemMessage(E_ACCESSDENIED) + L"\r\n"),
            std::wstring::npos);
  const std::wstring unknown = app::FailureText(common::ComResult::Failure(0x8FFF1234, L"手順"));
  EXPECT_NE(unknown.find(std::wstring(app::texts::kFailureReason) + app::texts::kNoReason), std::wstring::npos);
  EXPECT_NE(unknown.find(std::wstring(app::texts::kFailureCode) + L"0x8FFF1234"), std::wstring::npos);
}

}  // namespace
}  // namespace app_tests

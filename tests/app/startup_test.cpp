// Start-up: the window, what Form_Load asks of the control, a failing step,
// the tab order; the program without its control says why and ends with 1.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"
#include "common/hresult.h"
#include "common/module.h"
#include "common/text.h"
#include "contract/traylume_contract.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"
#include "tests/support/control_server.h"
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
    BYTE keys[256] = {};
    keys[VK_SHIFT] = backward ? 0x80 : 0;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(form->PreTranslateMessage(MSG{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}}));
    return ::GetFocus();
  };
  for (Ctl next : {Ctl::cmdVanish, Ctl::txtToolTip, Ctl::chkBalloon, Ctl::chkRefresh}) EXPECT_EQ(tab(false), Control(next));
  EXPECT_EQ(tab(true), Control(Ctl::chkBalloon)) << "the disabled balloon fields are skipped";
  Click(Ctl::chkBalloon);
  EXPECT_EQ(tab(false), Control(Ctl::txtBalloonTitle));
  ::SetFocus(Control(Ctl::cmdShow));
  EXPECT_EQ(tab(true), Control(Ctl::lstEvent)) << "backwards from the first wraps to the last";
  tab(false);  // Shift up again
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

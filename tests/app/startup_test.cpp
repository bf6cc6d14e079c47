// Start-up: the window, what Form_Load asks of the control and what it
// sets, a failing step; the program without its control says why and ends
// with 1.
#include <gtest/gtest.h>

#include <sstream>

#include "app/texts.h"
#include "common/hresult.h"
#include "common/module.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"
#include "tests/support/control_server.h"
#include "tests/support/program.h"

namespace app_tests {
namespace {

using StartupTest = FormTest;
using Calls = std::vector<std::wstring>;

// The client area follows the DPI (500 x 418 at 96), and cannot be resized.
TEST_F(StartupTest, TheWindowHasAFixedSizeThatFollowsTheDpi) {
  CreateForm(144);
  RECT client{};
  ASSERT_TRUE(::GetClientRect(form->hwnd(), &client));
  EXPECT_EQ(client.right, 750);
  EXPECT_EQ(client.bottom, 627);
  EXPECT_EQ(::GetWindowLongPtrW(form->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU),
            WS_SYSMENU);
}

TEST_F(StartupTest, TheLoadMakesItsCallsOnTheControlInOrder) {
  CreateForm();
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"let BalloonIcon VT_I4 0", L"get Icon",
                                 L"get BalloonSupported", L"get Icon"}));
  EXPECT_TRUE(messages.empty());
}

// Where they can, the tab order test reaches the switch.
TEST_F(StartupTest, TheBalloonSwitchIsDisabledWhereBalloonsCannotBeShown) {
  proxy->Answer(L"BalloonSupported", support::Bool(false));
  CreateForm();
  EXPECT_FALSE(Enabled(Ctl::chkBalloon));
}

TEST_F(StartupTest, AFailingLoadStepIsShownOnceAndEndsTheLoadButNotTheWindow) {
  proxy->Fail(L"Icon", E_FAIL);
  CreateForm();
  EXPECT_EQ(proxy->calls, (Calls{L"SetClientSite", L"Load", L"let BalloonIcon VT_I4 0", L"get Icon"}));
  EXPECT_EQ(messages.size(), 1u);  // its reason shown as the handlers' test shows it
  EXPECT_TRUE(::IsWindow(form->hwnd()));
}

TEST_F(StartupTest, AControlThatCannotBeHostedIsShownAndStillLoaded) {
  proxy->Fail(L"Load", E_ACCESSDENIED);
  CreateForm();
  ASSERT_GE(messages.size(), 1u);
  EXPECT_NE(messages[0].find(app::texts::kHostComponent), std::wstring::npos);
  EXPECT_EQ(proxy->calls.back(), L"get Icon");
}

// Takes the control's registration away for the guard's life, and puts it
// back as it was, whatever the test does meanwhile.
class ControlUnregistered {
 public:
  ControlUnregistered() {
    if (!wasRegistered_) return;
    EXPECT_EQ(support::UnregisterControl(), S_OK);
  }
  ~ControlUnregistered() {
    if (!wasRegistered_) return;
    EXPECT_EQ(support::RegisterControl(), S_OK);
  }

 private:
  static bool Registered() {
    common::UniqueRegKey key;
    return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, contract::kProgId, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
  }
  const bool wasRegistered_ = Registered();
};

TEST(Startup, WithoutItsControlTheProgramSaysWhyInOneMessageAndEndsWith1) {
  const ControlUnregistered unregistered;  // neither registered nor beside the program
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
    const std::wstring said = text;
    const std::wstring fileNotFound = common::SystemMessage(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(said.find(app::texts::CreateComponent(contract::kProgId, contract::kFileName)), std::wstring::npos);
    std::wstring byName;
    std::wstring byFile;
    std::wistringstream lines(said);
    for (std::wstring line; std::getline(lines, line);) {
      if (line.find(L"0x800401F3") != std::wstring::npos) byName = line;
      if (line.find(std::wstring(L"\\") + contract::kFileName) != std::wstring::npos) byFile = line;
    }
    EXPECT_NE(byName.find(common::SystemMessage(CO_E_CLASSSTRING)), std::wstring::npos) << common::Utf8(said);
    EXPECT_EQ(byName.find(fileNotFound), std::wstring::npos) << common::Utf8(said);
    EXPECT_NE(byFile.find(L"0x80070002"), std::wstring::npos) << common::Utf8(said);
    EXPECT_NE(byFile.find(fileNotFound), std::wstring::npos) << common::Utf8(said);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(alone.ExitCode(), 1u) << "a second message, or no end";
  }
  ::DeleteFileW(program.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace app_tests

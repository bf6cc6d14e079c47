// What a screen reader hears of each control of the window, asked through
// oleacc as it asks: in this process, and from another one.
#include <gtest/gtest.h>

#include <oleacc.h>

#include "app/control_ids.h"
#include "app/texts.h"
#include "common/module.h"
#include "tests/app/form_test.h"
#include "tests/support/accessibility.h"
#include "tests/support/program.h"

namespace app_tests {
namespace {

using AccessibilityTest = FormTest;

TEST_F(AccessibilityTest, EveryControlIsNamedAsItsLabelOrCaptionSaysAndOurOwnAsWhatTheyAre) {
  CreateForm();
  const auto heard = support::HeardOfEveryControl(form->hwnd());
  auto of = [&](Ctl id) { return heard.at(app::IdOf(id)); };
  // Edit boxes take their name from the label just before them.
  const std::pair<Ctl, Ctl> edits[] = {{Ctl::txtToolTip, Ctl::Label1_5},
                                       {Ctl::txtIconName, Ctl::Label1_4},
                                       {Ctl::txtBalloonTitle, Ctl::Label1_1},
                                       {Ctl::txtBalloonText, Ctl::Label1_2}};
  for (const auto& [field, label] : edits) {
    EXPECT_EQ(of(field).name, Text(label)) << app::IdOf(field);
    EXPECT_EQ(of(field).role, ROLE_SYSTEM_TEXT) << app::IdOf(field);
  }
  // Windows names a list and a combo box the same way, Wine does not: their
  // labels lie just before them.
  for (const auto& [field, label] : {std::pair{Ctl::lstEvent, Ctl::Label1_0}, std::pair{Ctl::cboInfoIcon, Ctl::Label1_3}}) {
    EXPECT_EQ(::GetWindow(Control(field), GW_HWNDPREV), Control(label)) << app::IdOf(field);
  }
  for (Ctl id : {Ctl::cmdShow, Ctl::cmdVanish, Ctl::cmdRefresh, Ctl::cmdLoad, Ctl::chkRefresh, Ctl::chkBalloon,
                 Ctl::chkBalloonSound}) {
    EXPECT_EQ(of(id).name, Text(id)) << app::IdOf(id);
  }
  EXPECT_EQ(of(Ctl::picIcon).name, app::texts::kPicIconName);
  EXPECT_EQ(of(Ctl::picIcon).role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(of(Ctl::Frame1).name, Text(Ctl::chkBalloon)) << "the group is named after the box that is its title";
  EXPECT_EQ(of(Ctl::Frame1).role, ROLE_SYSTEM_GROUPING);
}

TEST_F(AccessibilityTest, TheNamesReachAScreenReaderInAnotherProcess) {
  CreateForm();
  const auto here = support::HeardOfEveryControl(form->hwnd());
  const std::wstring program = common::FolderOf(common::ModulePath(nullptr)) + L"\\TraylumeSample.exe";
  support::Program running(L"\"" + program + L"\"");
  const HWND window = running.WaitForWindow(app::kForm1Class, [] { return true; });
  ASSERT_NE(window, nullptr);
  // Shown once every control is made and loaded.
  for (ULONGLONG deadline = ::GetTickCount64() + support::Program::kPatienceMs;
       !::IsWindowVisible(window) && ::GetTickCount64() < deadline;) {
    ::Sleep(20);
  }
  EXPECT_EQ(support::HeardOfEveryControl(window), here);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(running.ExitCode(), 0u);
}

}  // namespace
}  // namespace app_tests

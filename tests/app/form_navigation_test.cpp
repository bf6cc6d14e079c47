// Focus: where it starts, Tab and Shift+Tab by tab index, and keys that
// must press nothing.
#include <gtest/gtest.h>

#include <vector>

#include "tests/app/form_fixture.h"

namespace app_tests {
namespace {

using app::Ctl;

class FormNavigation : public FormTest {
 protected:
  // Presses Tab (with Shift when `backward`) on the focused control, the
  // way the program's message loop receives it.
  void PressTab(bool backward = false) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = backward ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    PumpLikeProgram();
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
  }

  std::vector<Ctl> TabRound(size_t count, bool backward = false) {
    std::vector<Ctl> visited;
    for (size_t i = 0; i < count; ++i) {
      PressTab(backward);
      visited.push_back(Holding(::GetFocus()));
    }
    return visited;
  }

  Ctl Holding(HWND window) const {
    for (; window; window = ::GetParent(window)) {
      const int id = ::GetDlgCtrlID(window);
      if (id > 1000 && id < 1100 && ::IsChild(form->hwnd(), window)) return static_cast<Ctl>(id);
    }
    return Ctl::None;
  }

  void PressKey(WPARAM key) {
    // TranslateMessage makes the WM_CHAR, as for a real key.
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
    ::PostMessageW(::GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    PumpLikeProgram();
  }
};

TEST_F(FormNavigation, FocusStartsOnCmdShow) {
  ShowForm();
  EXPECT_EQ(Holding(::GetFocus()), Ctl::cmdShow);
}

TEST_F(FormNavigation, TabFollowsTheTabIndexSkippingDisabledFieldsAndWraps) {
  ShowForm();
  const std::vector<Ctl> expected = {Ctl::cmdVanish,  Ctl::txtToolTip, Ctl::chkBalloon,  Ctl::chkRefresh,
                                     Ctl::cmdRefresh, Ctl::picIcon,    Ctl::cmdLoad,     Ctl::txtIconName,
                                     Ctl::lstEvent,   Ctl::cmdShow,    Ctl::cmdVanish};
  EXPECT_EQ(TabRound(expected.size()), expected);
}

TEST_F(FormNavigation, ShiftTabGoesBackAndWraps) {
  ShowForm();
  const std::vector<Ctl> expected = {Ctl::lstEvent, Ctl::txtIconName, Ctl::cmdLoad, Ctl::picIcon,
                                     Ctl::cmdRefresh, Ctl::chkRefresh, Ctl::chkBalloon, Ctl::txtToolTip,
                                     Ctl::cmdVanish, Ctl::cmdShow};
  EXPECT_EQ(TabRound(expected.size(), true), expected);
}

TEST_F(FormNavigation, EnabledBalloonFieldsFollowChkBalloon) {
  ShowForm();
  Click(Ctl::chkBalloon);
  ASSERT_EQ(Holding(::GetFocus()), Ctl::chkBalloon);
  const std::vector<Ctl> expected = {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon,
                                     Ctl::chkBalloonSound, Ctl::chkRefresh};
  EXPECT_EQ(TabRound(expected.size()), expected);
}

TEST_F(FormNavigation, DisabledChkBalloonIsSkipped) {
  fake->balloonSupported = false;
  ShowForm();
  ASSERT_FALSE(Enabled(Ctl::chkBalloon));
  const std::vector<Ctl> expected = {Ctl::cmdVanish, Ctl::txtToolTip, Ctl::chkRefresh};
  EXPECT_EQ(TabRound(expected.size()), expected);
}

TEST_F(FormNavigation, TabInAMultiLineTextBoxMovesOnAndTypesNothing) {
  ShowForm();
  ::SetFocus(Control(Ctl::txtToolTip));
  fake->ClearLog();
  PressTab();
  EXPECT_EQ(Holding(::GetFocus()), Ctl::chkBalloon);
  EXPECT_EQ(Text(Ctl::txtToolTip), L"ツールチップのテストです。\r\n");
  EXPECT_TRUE(Calls().empty());
}

TEST_F(FormNavigation, EnterAndEscapePressNoButton) {
  ShowForm();
  fake->ClearLog();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  ::SetFocus(Control(Ctl::txtIconName));
  PressKey(VK_RETURN);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(::IsWindow(form->hwnd()));
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormNavigation, EnterInAMultiLineTextBoxStartsANewLine) {
  ShowForm();
  ::SetFocus(Control(Ctl::txtToolTip));
  ::SendMessageW(Control(Ctl::txtToolTip), EM_SETSEL, 0, -1);
  fake->ClearLog();
  PressKey('A');
  PressKey(VK_RETURN);
  PressKey('B');
  EXPECT_EQ(Text(Ctl::txtToolTip), L"a\r\nb");
  ASSERT_FALSE(Calls().empty());
  EXPECT_EQ(Calls().back(), L"let ToolTipText VT_BSTR a\r\nb");
}

}  // namespace
}  // namespace app_tests

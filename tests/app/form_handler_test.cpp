// The settings handlers against the recording fake: each user action, the
// exact calls it makes, the looks of the balloon fields, and failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "contract/traylume_contract.h"
#include "tests/app/form_fixture.h"

namespace app_tests {
namespace {

using app::Ctl;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class FormHandlers : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ShowForm();
    ASSERT_TRUE(messages.empty());
    fake->ClearLog();
    references_ = fake->References();
  }
  void TearDown() override {
    if (fake) {
      EXPECT_EQ(fake->References(), references_) << "a handler kept a reference to the control";
    }
    FormTest::TearDown();
  }

  HBRUSH BrushOf(Ctl field) {
    common::WindowDc screen(nullptr);
    const UINT message = Enabled(field) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    return reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(Control(field)), message,
                                                   reinterpret_cast<WPARAM>(screen.get()),
                                                   reinterpret_cast<LPARAM>(Control(field))));
  }

  void ExpectBalloonFields(bool on) {
    const HBRUSH background = ::GetSysColorBrush(on ? COLOR_WINDOW : COLOR_BTNFACE);
    for (Ctl field : {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon}) {
      EXPECT_EQ(Enabled(field), on) << app::IdOf(field);
      EXPECT_EQ(BrushOf(field), background) << app::IdOf(field);
    }
    EXPECT_EQ(Enabled(Ctl::chkBalloonSound), on);
  }

  ULONG references_ = 0;
};

TEST_F(FormHandlers, TypingTwoCharactersAssignsToolTipTextTwice) {
  ::SetWindowTextW(Control(Ctl::txtToolTip), L"");
  fake->ClearLog();
  Type(Ctl::txtToolTip, L"あb");
  EXPECT_THAT(Calls(), ElementsAre(L"let ToolTipText VT_BSTR あ", L"let ToolTipText VT_BSTR あb"));
  ::SendMessageW(Control(Ctl::txtToolTip), WM_CHAR, VK_BACK, 0);
  ::SendMessageW(Control(Ctl::txtToolTip), WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(Calls().back(), L"let ToolTipText VT_BSTR ");
}

TEST_F(FormHandlers, BalloonTitleAndTextPassTheirWholeText) {
  Click(Ctl::chkBalloon);
  fake->ClearLog();
  Type(Ctl::txtBalloonTitle, L"題");
  Type(Ctl::txtBalloonText, L"a\rb");
  EXPECT_THAT(Calls(), ElementsAre(L"let BalloonTitle VT_BSTR 題", L"let BalloonText VT_BSTR a",
                                   L"let BalloonText VT_BSTR a\r\n", L"let BalloonText VT_BSTR a\r\nb"));
}

TEST_F(FormHandlers, ChoosingAnInfoIconPassesItsItemData) {
  Click(Ctl::chkBalloon);
  HWND combo = Control(Ctl::cboInfoIcon);
  ::SetFocus(combo);
  fake->ClearLog();
  ::SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
  ::SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Text(Ctl::cboInfoIcon), L"警告");
  ::SendMessageW(combo, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_THAT(Calls(), ElementsAre(L"let BalloonIcon VT_I4 1", L"let BalloonIcon VT_I4 2", L"let BalloonIcon VT_I4 0"));
}

TEST_F(FormHandlers, ChkBalloonOnWithSupportSendsTrueTwiceAndEnablesTheFields) {
  Click(Ctl::chkBalloon);
  EXPECT_THAT(Calls(), ElementsAre(L"get BalloonSupported", L"let Balloon VT_BOOL -1", L"let Balloon VT_BOOL -1"));
  ExpectBalloonFields(true);
  EXPECT_EQ(CheckState(Ctl::chkBalloonSound), BST_CHECKED);
}

TEST_F(FormHandlers, ChkBalloonOffSendsFalseOnceAndDisablesTheFields) {
  Click(Ctl::chkBalloon);
  fake->ClearLog();
  Click(Ctl::chkBalloon);
  EXPECT_THAT(Calls(), ElementsAre(L"get BalloonSupported", L"let Balloon VT_BOOL 0"));
  ExpectBalloonFields(false);
  EXPECT_EQ(CheckState(Ctl::chkBalloonSound), BST_CHECKED);  // its mark stays
}

TEST_F(FormHandlers, ChkBalloonWhileUnsupportedSendsFalseAndLeavesTheFieldsOff) {
  fake->balloonSupported = false;
  Click(Ctl::chkBalloon);
  EXPECT_THAT(Calls(), ElementsAre(L"get BalloonSupported", L"let Balloon VT_BOOL 0"));
  EXPECT_EQ(CheckState(Ctl::chkBalloon), BST_CHECKED);
  ExpectBalloonFields(false);
}

TEST_F(FormHandlers, ChkBalloonSoundAndChkRefreshPassBooleans) {
  Click(Ctl::chkBalloon);
  fake->ClearLog();
  Click(Ctl::chkBalloonSound);
  Click(Ctl::chkBalloonSound);
  Click(Ctl::chkRefresh);
  Click(Ctl::chkRefresh);
  EXPECT_THAT(Calls(), ElementsAre(L"let BalloonSound VT_BOOL 0", L"let BalloonSound VT_BOOL -1",
                                   L"let AutoRefresh VT_BOOL -1", L"let AutoRefresh VT_BOOL 0"));
}

TEST_F(FormHandlers, EachCommandButtonMakesExactlyOneCall) {
  Click(Ctl::cmdRefresh);
  EXPECT_THAT(Calls(), ElementsAre(L"call Refresh"));
  Click(Ctl::cmdShow);
  Click(Ctl::cmdShow);
  Click(Ctl::cmdVanish);
  EXPECT_THAT(Calls(), ElementsAre(L"call Refresh", L"call ShowIcon", L"call ShowIcon", L"call HideIcon"));
}

TEST_F(FormHandlers, AFailingMemberShowsOneMessageAndTheProgramGoesOn) {
  fake->FailOn(contract::dispid::kShowIcon, L"アイコンを表示できません。");
  Click(Ctl::cmdShow);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].owner, form->hwnd());
  EXPECT_TRUE(messages[0].type & MB_ICONERROR);
  EXPECT_THAT(messages[0].text, HasSubstr(L"ShowIcon"));
  EXPECT_THAT(messages[0].text, HasSubstr(L"アイコンを表示できません。"));
  EXPECT_THAT(messages[0].text, HasSubstr(L"0x80020009"));
  Click(Ctl::cmdVanish);
  EXPECT_THAT(Calls(), ElementsAre(L"call ShowIcon", L"call HideIcon"));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(FormHandlers, AFailingBalloonSupportedReadChangesNothing) {
  fake->FailOn(contract::dispid::kBalloonSupported, L"不明です。");
  Click(Ctl::chkBalloon);
  EXPECT_THAT(Calls(), ElementsAre(L"get BalloonSupported"));
  EXPECT_EQ(messages.size(), 1u);
  ExpectBalloonFields(false);
}

}  // namespace
}  // namespace app_tests

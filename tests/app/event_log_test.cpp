// The event log: one line for each event of Traylume1, in order, the newest
// selected and in view; an event without a line selects the newest again.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"
#include "contract/traylume_contract.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"

namespace app_tests {
namespace {

namespace texts = app::texts;
using EventLogTest = FormTest;
using Lines = std::vector<std::wstring>;

// Each tray callback the control raises an event for, and the line the
// event's handler adds.
const std::pair<UINT, const wchar_t*> kEventLines[] = {
    {WM_LBUTTONDOWN, texts::kLeftDown},            {WM_MBUTTONDOWN, texts::kMiddleDown},
    {WM_RBUTTONDOWN, texts::kRightDown},           {WM_MOUSEMOVE, texts::kMouseMove},
    {WM_LBUTTONUP, texts::kLeftUp},                {WM_MBUTTONUP, texts::kMiddleUp},
    {WM_RBUTTONUP, texts::kRightUp},               {WM_LBUTTONDBLCLK, texts::kLeftDoubleClick},
    {WM_MBUTTONDBLCLK, texts::kMiddleDoubleClick}, {WM_RBUTTONDBLCLK, texts::kRightDoubleClick},
    {NIN_BALLOONSHOW, texts::kBalloonShow},        {NIN_BALLOONTIMEOUT, texts::kBalloonClose},
    {NIN_BALLOONUSERCLICK, texts::kBalloonClick},
};

TEST_F(EventLogTest, EachEventAddsItsOwnLineInOrder) {
  CreateForm();
  Lines expected;
  for (const auto& [callback, line] : kEventLines) {
    TrayCallback(callback);
    expected.push_back(line);
  }
  EXPECT_EQ(LogLines(), expected);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(std::unique(expected.begin(), expected.end()), expected.end()) << "two events share a line";
}

// A burst of events, as the control raises them: the newest line is
// selected, in view and drawn once the loop has turned once.
TEST_F(EventLogTest, AfterABurstTheNewestLineShowsOnTheLoopsNextTurn) {
  CreateForm();
  PumpPending();
  const int newest = 150;
  for (int i = 0; i <= newest; ++i) TrayCallback(WM_MOUSEMOVE);
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  ::DispatchMessageW(&message);
  EXPECT_EQ(LogSelection(), newest);
  RECT item{};
  ASSERT_NE(::SendMessageW(Control(Ctl::lstEvent), LB_GETITEMRECT, newest, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  EXPECT_EQ(Pixel(Ctl::lstEvent, item.right - 2, item.top + 1), ::GetSysColor(COLOR_HIGHLIGHT)) << "out of view or not redrawn";
}

// A button code without a line, raised as the control raises events.
TEST_F(EventLogTest, AButtonWithoutALineAddsNoneAndSelectsTheNewestAgain) {
  CreateForm();
  for (UINT callback : {WM_LBUTTONDOWN, WM_LBUTTONUP}) TrayCallback(callback);
  PumpPending();
  const common::ComPtr<IDispatch> events = support::EventSinksOf(real).at(0);
  for (short button : {0, 3, 8}) {
    for (DISPID id : {contract::dispid::kMouseDown, contract::dispid::kMouseUp, contract::dispid::kDblClick}) {
      ::SendMessageW(Control(Ctl::lstEvent), LB_SETCURSEL, 0, 0);  // the user looks at the first line
      VARIANT argument = support::Value(VT_I2 | VT_BYREF);
      V_I2REF(&argument) = &button;
      EXPECT_EQ(support::Invoke(events.get(), id, DISPATCH_METHOD, {argument}).hr, S_OK);
      PumpPending();
      EXPECT_EQ(LogLines().size(), 2u) << button;
      EXPECT_EQ(LogSelection(), 1) << button;
    }
  }
}

}  // namespace
}  // namespace app_tests

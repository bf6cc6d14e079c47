// The event log: one line for each event of Traylume1, in order, the newest
// selected and in view; an event without a line selects the newest again.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"
#include "contract/traylume_contract.h"
#include "tests/app/form_test.h"
#include "tests/support/automation.h"
#include "traylume_idl.h"

namespace app_tests {
namespace {

namespace texts = app::texts;
using EventLogTest = FormTest;
using Lines = std::vector<std::wstring>;

// A burst of every event, as the control raises them: each line in order,
// and once the loop gets to it the newest is selected, in view and drawn.
TEST_F(EventLogTest, EachEventAddsItsLineInOrderAndTheNewestShowsOnceTheLoopGetsToItAndUnknownButtonsAddNone) {
  CreateForm();
  const std::pair<UINT, const wchar_t*> cases[] = {
      {WM_LBUTTONDOWN, texts::kLeftDown},          {WM_MBUTTONDOWN, texts::kMiddleDown},
      {WM_RBUTTONDOWN, texts::kRightDown},         {WM_MOUSEMOVE, texts::kMouseMove},
      {WM_LBUTTONUP, texts::kLeftUp},              {WM_MBUTTONUP, texts::kMiddleUp},
      {WM_RBUTTONUP, texts::kRightUp},             {WM_LBUTTONDBLCLK, texts::kLeftDoubleClick},
      {WM_MBUTTONDBLCLK, texts::kMiddleDoubleClick}, {WM_RBUTTONDBLCLK, texts::kRightDoubleClick},
      {NIN_BALLOONSHOW, texts::kBalloonShow},      {NIN_BALLOONTIMEOUT, texts::kBalloonClose},
      {NIN_BALLOONUSERCLICK, texts::kBalloonClick},
  };
  Lines expected;
  for (int round = 0; round < 12; ++round) {
    for (const auto& [callback, line] : cases) TrayCallback(callback), expected.push_back(line);
  }
  PumpPending();
  EXPECT_EQ(LogLines(), expected);
  const int newest = static_cast<int>(expected.size()) - 1;
  EXPECT_EQ(LogSelection(), newest);
  RECT item{}, client{};
  ::SendMessageW(Control(Ctl::lstEvent), LB_GETITEMRECT, newest, reinterpret_cast<LPARAM>(&item));
  ::GetClientRect(Control(Ctl::lstEvent), &client);
  EXPECT_TRUE(item.top >= 0 && item.bottom <= client.bottom) << "the newest line is out of view";
  EXPECT_EQ(Pixel(Ctl::lstEvent, item.right - 2, item.top + 1), ::GetSysColor(COLOR_HIGHLIGHT)) << "not redrawn";
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(std::unique(expected.begin(), expected.end()) - expected.begin(), static_cast<std::ptrdiff_t>(std::size(cases))) << "two events share a line";

  TrayCallback(WM_MOUSEMOVE);  // one event shows after one turn of the loop
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  ::DispatchMessageW(&message);
  EXPECT_EQ(LogLines().back(), texts::kMouseMove);
  EXPECT_EQ(LogSelection(), newest + 1);

  // A button code without a line, raised as the control raises events,
  // adds none and selects the newest line again.
  const common::ComPtr<IDispatch> events = support::EventSinksOf(real).at(0);
  for (short button : {0, 3, 8}) {
    for (DISPID id : {contract::dispid::kMouseDown, contract::dispid::kMouseUp, contract::dispid::kDblClick}) {
      ::SendMessageW(Control(Ctl::lstEvent), LB_SETCURSEL, 0, 0);  // the user looks at the first line
      VARIANT argument = support::Value(VT_I2 | VT_BYREF);
      V_I2REF(&argument) = &button;
      EXPECT_EQ(support::Invoke(events.get(), id, DISPATCH_METHOD, {argument}).hr, S_OK);
      PumpPending();
      EXPECT_EQ(LogLines().size(), expected.size() + 1) << button;
      EXPECT_EQ(LogSelection(), newest + 1) << button;
    }
  }
}

}  // namespace
}  // namespace app_tests

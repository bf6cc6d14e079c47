// The form's own Tab order: by tab index, skipping what cannot take the
// focus, wrapping round at either end.
#include <gtest/gtest.h>

#include "tests/app/form_test.h"

namespace app_tests {
namespace {

using TabOrderTest = FormTest;

TEST_F(TabOrderTest, TabMovesByTabIndexSkippingWhatCannotTakeTheFocus) {
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

}  // namespace
}  // namespace app_tests

// Tooltip and balloon settings; automatic refresh, refresh, show and hide.
#include "app/form1.h"

namespace app {

void Form1::txtToolTip_Change() { Check(Traylume1().PutToolTipText(Text(Ctl::txtToolTip))); }

void Form1::txtBalloonTitle_Change() { Check(Traylume1().PutBalloonTitle(Text(Ctl::txtBalloonTitle))); }

void Form1::txtBalloonText_Change() { Check(Traylume1().PutBalloonText(Text(Ctl::txtBalloonText))); }

void Form1::cboInfoIcon_Click() {
  const int index = ListIndex(Ctl::cboInfoIcon);
  if (index < 0) return;  // nothing selected: no kind to pass
  Check(Traylume1().PutBalloonIcon(ItemData(Ctl::cboInfoIcon, index)));
}

void Form1::chkBalloonSound_Click() { Check(Traylume1().PutBalloonSound(CheckValue(Ctl::chkBalloonSound) == 1)); }

// BalloonSupported is read on every click; On sends Balloon true twice, Off false once.
void Form1::chkBalloon_Click() {
  const bool checked = CheckValue(Ctl::chkBalloon) == 1;
  bool balloonSupported = false;
  if (!Check(Traylume1().GetBalloonSupported(&balloonSupported))) return;
  if (checked && balloonSupported) {
    // Twice on purpose: components written for this program may count on
    // the second Balloon true.
    if (!Check(Traylume1().PutBalloon(true))) return;
    if (!Check(Traylume1().PutBalloon(true))) return;
    ShowBalloonFields(true);
  } else {
    if (!Check(Traylume1().PutBalloon(false))) return;
    ShowBalloonFields(false);
  }
}

// The On look: enabled, window background; the Off look: disabled, button face.
void Form1::ShowBalloonFields(bool on) {
  const int background = on ? COLOR_WINDOW : COLOR_BTNFACE;
  for (Ctl field : {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon}) {
    SetEnabled(field, on);
    SetBackColor(field, background);
  }
  SetEnabled(Ctl::chkBalloonSound, on);
}

void Form1::chkRefresh_Click() { Check(Traylume1().PutAutoRefresh(CheckValue(Ctl::chkRefresh) == 1)); }

void Form1::cmdRefresh_Click() { Check(Traylume1().Refresh()); }

void Form1::cmdShow_Click() { Check(Traylume1().ShowIcon()); }

void Form1::cmdVanish_Click() { Check(Traylume1().HideIcon()); }

}  // namespace app

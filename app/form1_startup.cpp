// Form_Load and the icon preview drawing that start-up and cmdLoad share.
#include "app/form1.h"
#include "app/texts.h"

namespace app {

void Form1::Form_Load() {
  SetListIndex(Ctl::cboInfoIcon, 0);
  cboInfoIcon_Click();  // selecting by program raises no notification: the click event by hand
  if (!Check(DrawIconPreview())) return;
  bool balloonSupported = false;
  if (!Check(Traylume1().GetBalloonSupported(&balloonSupported))) return;
  SetEnabled(Ctl::chkBalloon, balloonSupported);
  // The preview is drawn a second time on purpose: components written for
  // this program may count on Icon being read twice while it loads.
  Check(DrawIconPreview());
}

// Draws Traylume1's Icon at (0, 0, 16, 16) pixels of picIcon, whatever the
// picture's own size, over what picIcon already shows.
common::ComResult Form1::DrawIconPreview() {
  common::ComPtr<IPictureDisp> icon;
  common::ComResult read = Traylume1().GetIcon(&icon);
  if (!read) return read;
  const HRESULT drawn = Picture(Ctl::picIcon)->Render(icon.get(), 0, 0, 16, 16);
  if (FAILED(drawn)) return common::ComResult::Failure(drawn, texts::kDrawPreview);
  return common::ComResult::Success();
}

}  // namespace app

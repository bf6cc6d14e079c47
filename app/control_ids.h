#pragma once
// Stable identifiers of Form1's controls and the window classes of the
// program, for the program itself and for tests that drive it from another
// process. A control's id is 1000 plus its row in the window's layout table
// (app/form1_layout.cpp). The seven controls inside Frame1 are children of
// Frame1, not of the form: find them with
// GetDlgItem(GetDlgItem(form, Ctl::Frame1), id).

namespace app {

enum class Ctl : int {
  None = 0,
  Traylume1 = 1001,  // non-visual: has no window
  lstEvent = 1002,
  txtIconName = 1003,
  cmdLoad = 1004,
  picIcon = 1005,
  cmdRefresh = 1006,
  chkRefresh = 1007,
  chkBalloon = 1008,
  Frame1 = 1009,
  chkBalloonSound = 1010,
  cboInfoIcon = 1011,
  txtBalloonText = 1012,
  txtBalloonTitle = 1013,
  Label1_3 = 1014,
  Label1_2 = 1015,
  Label1_1 = 1016,
  txtToolTip = 1017,
  cmdVanish = 1018,
  cmdShow = 1019,
  Label1_6 = 1020,
  Label2 = 1022,
  Label1_5 = 1025,
  Label1_4 = 1026,
  Label1_0 = 1027,
};

constexpr int IdOf(Ctl control) { return static_cast<int>(control); }

// Commands of lstEvent's shortcut menu; they reach Form1 as WM_COMMAND with
// no control window (lParam 0), as menu commands do.
enum class LogMenu : int {
  mnuLogCopy = 2001,     // the selected line
  mnuLogCopyAll = 2002,  // every line
};

constexpr int IdOf(LogMenu command) { return static_cast<int>(command); }

// Window classes registered by the program.
inline constexpr wchar_t kForm1Class[] = L"TraylumeSample.Form1";
inline constexpr wchar_t kFrameClass[] = L"TraylumeSample.Frame";
inline constexpr wchar_t kPictureBoxClass[] = L"TraylumeSample.PictureBox";

}  // namespace app

// The event log: one line in lstEvent for each event of Traylume1.
#include "app/form1.h"
#include "app/texts.h"
#include "contract/traylume_contract.h"

namespace app {
namespace {

// The line for `button`, compared with left, then middle, then right;
// nullptr for any other code.
const wchar_t* LineForButton(short button, const wchar_t* left, const wchar_t* middle, const wchar_t* right) {
  if (button == contract::kLeftButton) return left;
  if (button == contract::kMiddleButton) return middle;
  if (button == contract::kRightButton) return right;
  return nullptr;
}

}  // namespace

void Form1::Traylume1_MouseDown(short button) {
  AppendToEventLog(LineForButton(button, texts::kLeftDown, texts::kMiddleDown, texts::kRightDown));
}

void Form1::Traylume1_MouseMove() { AppendToEventLog(texts::kMouseMove); }

void Form1::Traylume1_MouseUp(short button) {
  AppendToEventLog(LineForButton(button, texts::kLeftUp, texts::kMiddleUp, texts::kRightUp));
}

void Form1::Traylume1_DblClick(short button) {
  AppendToEventLog(
      LineForButton(button, texts::kLeftDoubleClick, texts::kMiddleDoubleClick, texts::kRightDoubleClick));
}

void Form1::Traylume1_BalloonShow() { AppendToEventLog(texts::kBalloonShow); }

void Form1::Traylume1_BalloonClose() { AppendToEventLog(texts::kBalloonClose); }

void Form1::Traylume1_BalloonClick() { AppendToEventLog(texts::kBalloonClick); }

// Adds `line` (when there is one) at the end. lstEvent is redrawn once per
// burst of events, not once per line: under some systems a visible list box
// redraws its scroll bar at once on every added or selected line, which
// costs milliseconds. The first event of a burst suspends the list box's
// redrawing and posts kShowNewestLogLine, which the message loop reaches
// after every callback already queued; an event that adds no line still
// makes the newest line selected again then.
void Form1::AppendToEventLog(const wchar_t* line) {
  const bool deferred = logUpdatePending_ || DeferLogUpdate();
  if (line && AddItem(Ctl::lstEvent, line) < 0) Check(common::ComResult::Failure(E_OUTOFMEMORY, texts::kAddLogLine));
  if (!deferred) ShowNewestLogLine();
}

// True when kShowNewestLogLine is on its way and redrawing is suspended
// until it comes; false (nothing suspended) when it cannot be posted.
bool Form1::DeferLogUpdate() {
  if (!::PostMessageW(hwnd(), kShowNewestLogLine, 0, 0)) return false;
  SetRedraw(Ctl::lstEvent, false);
  logUpdatePending_ = true;
  return true;
}

// Selects the line added last by any event, which scrolls it into view, and
// redraws the list box once. The log only grows and is not sorted, so that
// is always its last line; -1 while it is empty.
void Form1::ShowNewestLogLine() {
  logUpdatePending_ = false;
  const int count = ListCount(Ctl::lstEvent);
  SetListIndex(Ctl::lstEvent, count > 0 ? count - 1 : -1);
  SetRedraw(Ctl::lstEvent, true);
}

}  // namespace app

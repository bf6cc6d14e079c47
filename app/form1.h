#pragma once
// Form1, the program's one window: a form (app/form.h) built from its
// layout table (app/form1_layout.cpp) that hosts the Traylume control as
// Traylume1 and turns every control event and component event into one
// handler below, named after the control and the event.

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <deque>
#include <string>

#include "app/control_ids.h"
#include "app/form.h"
#include "app/report.h"
#include "common/com_ptr.h"
#include "common/com_result.h"
#include "component/traylume_client.h"
#include "component/traylume_events.h"
#include "component/traylume_host.h"

namespace app {

class FileDropTarget;

struct Form1Options {
  int dpi = 0;                    // layout DPI; 0: the display's
  bool quitWhenClosed = false;    // the program's window: closing it ends the message loop
  MessageBoxFunction messageBox;  // empty: MessageBoxW
};

class Form1 final : public Form, private component::TraylumeEvents {
 public:
  using Options = Form1Options;

  Form1();
  ~Form1();

  static HRESULT Register();

  // Creates the window (hidden) with its controls, hosts `control` as
  // Traylume1 and runs Form_Load. A step that fails after the window exists
  // shows its message and the window still opens; only a window that cannot
  // be created is returned as a failure.
  HRESULT Create(common::ComPtr<IUnknown> control, Options options = {});

  // What the message loop asks before dispatching: Ctrl+C in lstEvent
  // copies its selected line, Tab and Shift+Tab move the focus in tab
  // order. True when the message was consumed.
  bool PreTranslateMessage(const MSG& message);

  // The drop target registered on txtIconName.
  IDropTarget* iconNameDropTarget() const;

 private:
  struct CommandRoute {
    Ctl control;
    WORD notification;
    void (Form1::*handler)();
  };
  static const CommandRoute kCommandRoutes[];
  // Posted to the form by the first event of a burst; it comes after every
  // callback already queued (app/form1_event_log.cpp).
  static constexpr UINT kShowNewestLogLine = WM_APP;
  // Posted for each file drop on txtIconName, handled once Drop has returned.
  static constexpr UINT kFileDroppedMessage = WM_APP + 1;
  struct MenuRoute {
    LogMenu command;
    void (Form1::*handler)();
  };
  static const MenuRoute kMenuRoutes[];

  // Messages the form leaves to Form1.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(Ctl control, WORD notification);
  void OnMenuCommand(LogMenu command);
  void OnContextMenu(HWND window, POINT screen);
  void OnDestroy();
  void OnNcDestroy();

  bool HostTraylume(common::ComPtr<IUnknown> control);  // true when fully hosted

  // Start-up and the icon preview.
  void Form_Load();
  common::ComResult DrawIconPreview();

  // Icon file.
  void RegisterFileDrops();
  void cmdLoad_Click();
  void txtIconName_OLEDragDrop();  // the oldest drop not yet handled

  // Tooltip and balloon.
  void txtToolTip_Change();
  void txtBalloonTitle_Change();
  void txtBalloonText_Change();
  void cboInfoIcon_Click();
  void chkBalloonSound_Click();
  void chkBalloon_Click();
  void ShowBalloonFields(bool on);

  // Refresh and visibility.
  void chkRefresh_Click();
  void cmdRefresh_Click();
  void cmdShow_Click();
  void cmdVanish_Click();

  // Event log.
  void Traylume1_MouseDown(short button);
  void Traylume1_MouseMove();
  void Traylume1_MouseUp(short button);
  void Traylume1_DblClick(short button);
  void Traylume1_BalloonShow();
  void Traylume1_BalloonClose();
  void Traylume1_BalloonClick();
  void AppendToEventLog(const wchar_t* line);
  bool DeferLogUpdate();
  void ShowNewestLogLine();

  // Copying from the event log.
  void lstEvent_ContextMenu(POINT screen);
  void mnuLogCopy_Click();
  void mnuLogCopyAll_Click();
  void CopyToClipboard(const std::wstring& text);

  // The component's events, as the host delivers them.
  void MouseDown(short button) override { Traylume1_MouseDown(button); }
  void MouseMove() override { Traylume1_MouseMove(); }
  void MouseUp(short button) override { Traylume1_MouseUp(button); }
  void DblClick(short button) override { Traylume1_DblClick(button); }
  void BalloonShow() override { Traylume1_BalloonShow(); }
  void BalloonClose() override { Traylume1_BalloonClose(); }
  void BalloonClick() override { Traylume1_BalloonClick(); }

  // The component, as the handlers call it.
  const component::Traylume& Traylume1() const { return host_.control(); }

  // True when `result` succeeded; otherwise shows its one message.
  bool Check(const common::ComResult& result);

  Options options_;
  bool logUpdatePending_ = false;  // lstEvent's redrawing waits for kShowNewestLogLine
  common::ComPtr<FileDropTarget> dropTarget_;
  // Drops recorded by the drop target, each handled by one posted
  // kFileDroppedMessage.
  struct Drop {
    common::ComResult read;
    std::wstring path;
  };
  std::deque<Drop> pendingDrops_;
  HWND dropTargetWindow_ = nullptr;
  component::TraylumeHost host_;
};

}  // namespace app

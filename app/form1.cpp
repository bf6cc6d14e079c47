// Form1's own part: which handler each event goes to, hosting Traylume1,
// the keys the form takes first, and closing.
#include "app/form1.h"

#include <windowsx.h>

#include <utility>

#include "app/file_drop_target.h"
#include "app/form1_layout.h"
#include "app/saved_icon.h"
#include "app/texts.h"
#include "common/hresult.h"
#include "component/saved_state.h"
#include "resources/resource_ids.h"

namespace app {

// Every control event goes to exactly one handler.
const Form1::CommandRoute Form1::kCommandRoutes[] = {
    {Ctl::cmdLoad, BN_CLICKED, &Form1::cmdLoad_Click},
    {Ctl::txtToolTip, EN_CHANGE, &Form1::txtToolTip_Change},
    {Ctl::txtBalloonTitle, EN_CHANGE, &Form1::txtBalloonTitle_Change},
    {Ctl::txtBalloonText, EN_CHANGE, &Form1::txtBalloonText_Change},
    {Ctl::cboInfoIcon, CBN_SELCHANGE, &Form1::cboInfoIcon_Click},
    {Ctl::chkBalloonSound, BN_CLICKED, &Form1::chkBalloonSound_Click},
    {Ctl::chkBalloon, BN_CLICKED, &Form1::chkBalloon_Click},
    {Ctl::chkRefresh, BN_CLICKED, &Form1::chkRefresh_Click},
    {Ctl::cmdRefresh, BN_CLICKED, &Form1::cmdRefresh_Click},
    {Ctl::cmdShow, BN_CLICKED, &Form1::cmdShow_Click},
    {Ctl::cmdVanish, BN_CLICKED, &Form1::cmdVanish_Click},
};

// Every shortcut menu command goes to exactly one handler.
const Form1::MenuRoute Form1::kMenuRoutes[] = {
    {LogMenu::mnuLogCopy, &Form1::mnuLogCopy_Click},
    {LogMenu::mnuLogCopyAll, &Form1::mnuLogCopyAll_Click},
};

Form1::Form1() = default;

// The window goes while Form1's handlers are still there to close the control.
Form1::~Form1() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

HRESULT Form1::Register() {
  return RegisterClassOnce(kForm1Class, [](WNDCLASSEXW& windowClass) {
    // The program's icon, where the program carries one.
    windowClass.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  });
}

HRESULT Form1::Create(common::ComPtr<IUnknown> control, Options options) {
  if (hwnd()) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
  options_ = std::move(options);
  RETURN_IF_FAILED(Register());
  RETURN_IF_FAILED(CreateForm(kForm1Class, kForm1Window, Form1Layout(), options_.dpi));
  RegisterFileDrops();
  // Without a control to talk to, every step of the load would fail again.
  if (HostTraylume(std::move(control)) || Traylume1().get()) Form_Load();
  return S_OK;
}

bool Form1::HostTraylume(common::ComPtr<IUnknown> control) {
  component::SavedState state;
  state.toolTipText = texts::kSavedToolTip;
  // Without its saved icon the control still comes up, with its own.
  Check(LoadSavedIcon(&state.icon));
  common::ComResult hosted = host_.Attach(std::move(control), state, hwnd(), this);
  if (!hosted) hosted.operation = std::wstring(texts::kHostComponent) + L" (" + hosted.operation + L")";
  return Check(hosted);
}

// ---- Messages -------------------------------------------------------------

LRESULT Form1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) {
        OnCommand(static_cast<Ctl>(LOWORD(wParam)), HIWORD(wParam));
      } else if (HIWORD(wParam) == 0) {
        OnMenuCommand(static_cast<LogMenu>(LOWORD(wParam)));
      }
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case kFileDroppedMessage:
      txtIconName_OLEDragDrop();
      return 0;
    case kShowNewestLogLine:
      ShowNewestLogLine();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy();
      return Default(message, wParam, lParam);
    default:
      return Default(message, wParam, lParam);
  }
}

void Form1::OnCommand(Ctl control, WORD notification) {
  for (const CommandRoute& route : kCommandRoutes) {
    if (route.control == control && route.notification == notification) {
      (this->*route.handler)();
      return;
    }
  }
}

void Form1::OnMenuCommand(LogMenu command) {
  for (const MenuRoute& route : kMenuRoutes) {
    if (route.command == command) {
      (this->*route.handler)();
      return;
    }
  }
}

// A right click or the menu key; the position is (-1, -1) for the key.
void Form1::OnContextMenu(HWND window, POINT screen) {
  if (window && window == Control(Ctl::lstEvent)) lstEvent_ContextMenu(screen);
}

// Children still exist here: the drop target goes first, then the control.
void Form1::OnDestroy() {
  if (dropTargetWindow_) {
    ::RevokeDragDrop(dropTargetWindow_);
    dropTargetWindow_ = nullptr;
  }
  if (dropTarget_) dropTarget_->Detach();
  dropTarget_.reset();
  host_.Close();
}

void Form1::OnNcDestroy() {
  if (options_.quitWhenClosed) ::PostQuitMessage(0);
}

// ---- Keys the message loop hands to the form first ------------------------

bool Form1::PreTranslateMessage(const MSG& message) {
  const bool copyKey = message.message == WM_KEYDOWN && message.wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0 &&
                       ::GetKeyState(VK_MENU) >= 0;
  if (copyKey && message.hwnd && message.hwnd == Control(Ctl::lstEvent)) {
    mnuLogCopy_Click();
    return true;
  }
  return TranslateTabKey(message);
}

bool Form1::Check(const common::ComResult& result) {
  if (result.ok()) return true;
  ShowFailure(options_.messageBox, hwnd(), result);
  return false;
}

}  // namespace app

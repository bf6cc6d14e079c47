// log_floor: the floor for event-to-log throughput. The program's window
// shape with nothing between a tray callback and its line: a hidden
// top-level window of the tray window's class receives the callbacks and
// appends the line straight to a list box with lstEvent's id, place,
// styles and font, its redrawing suspended per burst the way Form1 does
// it (one posted message ends the burst). No COM, no component.
#include <windows.h>
#include <commctrl.h>

#include "app/control_ids.h"
#include "app/form1_layout.h"
#include "app/texts.h"
#include "app/ui_font.h"
#include "common/unique_handle.h"
#include "traylume/tray_window.h"

namespace {

constexpr wchar_t kFloorClass[] = L"TraylumeBench.Floor";
constexpr UINT kShowNewestLine = WM_APP;

// The floor's state, shared by its two windows: each keeps a pointer to it,
// handed over at creation.
struct Floor {
  HWND window = nullptr;
  HWND log = nullptr;
  bool updatePending = false;

  void ShowNewestLine() {
    updatePending = false;
    const LRESULT count = ::SendMessageW(log, LB_GETCOUNT, 0, 0);
    ::SendMessageW(log, LB_SETCURSEL, static_cast<WPARAM>(count > 0 ? count - 1 : -1), 0);
    ::SendMessageW(log, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(log, nullptr, TRUE);
  }

  void AppendLine(const wchar_t* line) {
    if (!updatePending && ::PostMessageW(window, kShowNewestLine, 0, 0)) {
      ::SendMessageW(log, WM_SETREDRAW, FALSE, 0);
      updatePending = true;
    }
    ::SendMessageW(log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    if (!updatePending) ShowNewestLine();
  }
};

int Pixels(int twips) { return app::TwipsToPixels(twips, 96); }

Floor* FloorOf(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  return reinterpret_cast<Floor*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Floor* state = FloorOf(window, message, lParam);
  switch (message) {
    case kShowNewestLine:
      if (state) state->ShowNewestLine();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Floor* state = FloorOf(window, message, lParam);
  if (message == traylume::kCallbackMessage) {
    if (state && wParam == traylume::kIconId && LOWORD(lParam) == WM_MOUSEMOVE) state->AppendLine(app::texts::kMouseMove);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = name;
  return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  if (!RegisterClass(kFloorClass, &FloorProc, instance) || !RegisterClass(traylume::kTrayWindowClass, &TrayProc, instance)) {
    return 1;
  }
  Floor state;
  const app::WindowSpec& shape = app::kForm1Window;
  RECT frame{0, 0, Pixels(shape.clientWidth), Pixels(shape.clientHeight)};
  ::AdjustWindowRectEx(&frame, shape.style, FALSE, shape.exStyle);
  state.window = ::CreateWindowExW(shape.exStyle, kFloorClass, shape.title, shape.style, CW_USEDEFAULT,
                                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                    nullptr, instance, &state);
  const app::ControlSpec* row = app::FindControlSpec(app::Ctl::lstEvent);
  if (!state.window || !row) return 1;
  const common::UniqueFont font = app::CreateUiFont(96);
  state.log = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      Pixels(row->place.left), Pixels(row->place.top), Pixels(row->place.width), Pixels(row->place.height),
      state.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(app::IdOf(app::Ctl::lstEvent))), instance,
      nullptr);
  const common::UniqueWindow tray(::CreateWindowExW(WS_EX_TOOLWINDOW, traylume::kTrayWindowClass, L"", WS_POPUP, 0, 0,
                                                    0, 0, nullptr, nullptr, instance, &state));
  if (!state.log || !tray) return 1;
  ::SendMessageW(state.log, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  ::ShowWindow(state.window, showCommand);
  ::UpdateWindow(state.window);

  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

// bare_window: what start-up costs without the program's own work. A plain
// window with Form1's controls (the same classes, styles, places, texts and
// a 9-point Japanese font, made with one CreateFontIndirect) and the same
// manifest, and nothing else: no OLE, no component, no icon, no handlers.
// The frame is a plain group box and the picture box a plain static.
#include <windows.h>
#include <commctrl.h>

#include "app/form1_layout.h"
#include "app/ui_font.h"
#include "common/unique_handle.h"

namespace {

constexpr wchar_t kBareClass[] = L"TraylumeBench.BareWindow";

int Pixels(int twips) { return app::TwipsToPixels(twips, 96); }


// The class and styles Form1 gives a row of `kind`, plainly.
bool PlainClass(app::Kind kind, unsigned settings, const wchar_t** className, DWORD* style, DWORD* exStyle) {
  switch (kind) {
    case app::Kind::ListBox:
      *className = WC_LISTBOXW;
      *style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      *exStyle |= WS_EX_CLIENTEDGE;
      return true;
    case app::Kind::TextBox:
      *className = WC_EDITW;
      *style |= WS_TABSTOP | ((settings & app::kMultiLine) ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL
                                                           : ES_AUTOHSCROLL);
      *exStyle |= WS_EX_CLIENTEDGE;
      return true;
    case app::Kind::CommandButton:
      *className = WC_BUTTONW;
      *style |= WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
      return true;
    case app::Kind::CheckBox:
      *className = WC_BUTTONW;
      *style |= WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE;
      return true;
    case app::Kind::ComboBox:
      *className = WC_COMBOBOXW;
      *style |= WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
      return true;
    case app::Kind::Label:
      *className = WC_STATICW;
      *style |= SS_LEFT | SS_NOPREFIX;
      return true;
    case app::Kind::PictureBox:
      *className = WC_STATICW;
      *exStyle |= WS_EX_CLIENTEDGE;
      return true;
    case app::Kind::Frame:
      *className = WC_BUTTONW;
      *style |= BS_GROUPBOX;
      return true;
    default:
      return false;
  }
}

void CreateControls(HWND window, HFONT font) {
  for (const app::ControlSpec& row : app::Form1Layout()) {
    const wchar_t* className = nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (!PlainClass(row.kind, row.settings, &className, &style, &exStyle)) continue;
    if (row.settings & app::kDisabled) style |= WS_DISABLED;
    HWND parent = row.container == app::Ctl::None ? window : ::GetDlgItem(window, app::IdOf(row.container));
    int height = Pixels(row.place.height);
    if (row.kind == app::Kind::ComboBox) height *= 1 + static_cast<int>(row.itemCount);
    HWND control = ::CreateWindowExW(exStyle, className, row.text ? row.text : L"", style, Pixels(row.place.left),
                                     Pixels(row.place.top), Pixels(row.place.width), height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(app::IdOf(row.id))),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (!control) continue;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (std::size_t i = 0; i < row.itemCount; ++i) {
      ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.items[i].text));
    }
    if (row.itemCount > 0) ::SendMessageW(control, CB_SETCURSEL, 0, 0);
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kBareClass;
  if (!::RegisterClassExW(&windowClass)) return 1;

  const app::WindowSpec& shape = app::kForm1Window;
  RECT frame{0, 0, Pixels(shape.clientWidth), Pixels(shape.clientHeight)};
  ::AdjustWindowRectEx(&frame, shape.style, FALSE, shape.exStyle);
  HWND window = ::CreateWindowExW(shape.exStyle, kBareClass, shape.title, shape.style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                  nullptr);
  if (!window) return 1;
  const common::UniqueFont font = app::CreateUiFont(96);
  CreateControls(window, font.get());
  ::ShowWindow(window, showCommand);
  ::UpdateWindow(window);

  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

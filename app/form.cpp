// Creating a form's window; the messages every form handles alike: the
// controls' colours, the focus kept across activation, the lines painted on
// its surface.
#include "app/form.h"

#include <algorithm>

#include "app/ui_font.h"
#include "common/hresult.h"

namespace app {
namespace {

int DisplayDpi() {
  common::WindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

Form::Form() = default;

Form::~Form() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

HRESULT Form::CreateForm(const wchar_t* className, const WindowSpec& window, ControlSpecs layout, int dpi) {
  layout_ = layout;
  dpi_ = dpi > 0 ? dpi : DisplayDpi();
  font_ = CreateUiFont(dpi_);

  RECT frame{0, 0, Pixels(window.clientWidth), Pixels(window.clientHeight)};
  const SIZE client{frame.right, frame.bottom};
  RETURN_LAST_ERROR_IF(!::AdjustWindowRectEx(&frame, window.style, FALSE, window.exStyle));
  const HWND created = ::CreateWindowExW(window.exStyle, className, window.title, window.style, CW_USEDEFAULT,
                                         CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                         nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
  RETURN_LAST_ERROR_IF(!created);
  // Where the frame the system draws differs from what it computed, the
  // client area still gets its exact size.
  RECT actual{};
  ::GetClientRect(hwnd(), &actual);
  if (actual.right != client.cx || actual.bottom != client.cy) {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left + client.cx - actual.right,
                   frame.bottom - frame.top + client.cy - actual.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const HRESULT built = CreateControls();
  if (FAILED(built)) {
    ::DestroyWindow(hwnd());
    return built;
  }
  const std::vector<const ControlSpec*> order = TabOrder();
  if (!order.empty()) focusOnActivate_ = Control(order.front()->id);
  return S_OK;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      return OnControlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_NCDESTROY:
      controls_.clear();
      return OnMessage(message, wParam, lParam);
    default:
      return OnMessage(message, wParam, lParam);
  }
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Form::OnControlColor(UINT message, HDC dc, HWND control) {
  const auto color = backColors_.find(ControlColored(control));
  if (color == backColors_.end()) {
    return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkColor(dc, ::GetSysColor(color->second));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(color->second));
}

Ctl Form::ControlColored(HWND window) const {
  const Ctl id = ControlHolding(window);
  if (id != Ctl::None) return id;
  for (const ControlWindow& control : controls_) {
    if (control.kind == Kind::ComboBox && ListWindow(control.id) == window) return control.id;
  }
  return Ctl::None;
}

void Form::OnActivate(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd(), focus)) focusOnActivate_ = focus;
  } else if (focusOnActivate_ && ::IsWindow(focusOnActivate_)) {
    ::SetFocus(focusOnActivate_);
  }
}

// Lines lie on the window's own surface; an earlier line lies above a later one.
void Form::Paint(HDC dc) {
  for (std::size_t i = layout_.size(); i-- > 0;) {
    if (layout_[i].kind == Kind::Line) DrawLine(dc, layout_[i].line);
  }
}

// The window's lines are all horizontal or vertical: each is a band `width`
// pixels thick to the right of, or below, its coordinates.
void Form::DrawLine(HDC dc, const LineSpec& line) {
  const int x1 = Pixels(line.x1), y1 = Pixels(line.y1), x2 = Pixels(line.x2), y2 = Pixels(line.y2);
  RECT band{};
  if (x1 == x2) {
    band = {x1, std::min(y1, y2), x1 + line.widthPixels, std::max(y1, y2)};
  } else {
    band = {std::min(x1, x2), y1, std::max(x1, x2), y1 + line.widthPixels};
  }
  ::FillRect(dc, &band, ::GetSysColorBrush(line.colorIndex));
}

}  // namespace app

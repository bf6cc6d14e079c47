// Building a form from its layout table; the messages every form handles
// alike: the controls' colours, the focus kept across activation, the lines
// painted on its surface.
#include "app/form.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/ui_font.h"
#include "common/hresult.h"

namespace app {
namespace {

int DisplayDpi() {
  common::WindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

// A drop-down list's height is that of its selection field, which the
// control derives from its font; the item height is what sets it.
// What CB_GETITEMHEIGHT reports and what CB_SETITEMHEIGHT takes may differ
// by a padding, so the value is corrected by what the window then measures.
void FitComboFieldHeight(HWND combo, int height) {
  LRESULT itemHeight = ::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (itemHeight == CB_ERR) return;
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT place{};
    ::GetWindowRect(combo, &place);
    const int difference = height - (place.bottom - place.top);
    if (difference == 0 || itemHeight + difference < 1) return;
    itemHeight += difference;
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
  }
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
  if (!::AdjustWindowRectEx(&frame, window.style, FALSE, window.exStyle)) return common::LastErrorHr();
  if (!::CreateWindowExW(window.exStyle, className, window.title, window.style, CW_USEDEFAULT,
                         CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                         nullptr, ::GetModuleHandleW(nullptr), this)) {
    return common::LastErrorHr();
  }
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

HRESULT Form::CreateControls() {
  for (const ControlSpec& row : layout_) {
    if (row.kind == Kind::Component || row.kind == Kind::Line) continue;
    HWND window = nullptr;
    RETURN_IF_FAILED(CreateControl(row, &window));
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Creation order is stacking order: each new control goes under the ones before it.
    ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    controls_.push_back({row.id, row.kind, window});
    ApplySettings(row);
  }
  PlaceLabelsBeforeTheirFields();
  return S_OK;
}

HRESULT Form::CreateControl(const ControlSpec& row, HWND* window) {
  HWND container = row.container == Ctl::None ? hwnd() : Control(row.container);
  if (!container) return E_UNEXPECTED;
  const RECT place = PixelRect(row);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (TakesFocus(row.kind)) style |= WS_TABSTOP;
  if (row.settings & kDisabled) style |= WS_DISABLED;
  DWORD exStyle = 0;
  const wchar_t* className = nullptr;
  int createHeight = place.bottom - place.top;

  switch (row.kind) {
    case Kind::ListBox:
      className = WC_LISTBOXW;
      style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::TextBox:
      className = WC_EDITW;
      style |= (row.settings & kMultiLine) ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::CommandButton:
      className = WC_BUTTONW;
      style |= BS_PUSHBUTTON | BS_MULTILINE;
      break;
    case Kind::CheckBox:
      className = WC_BUTTONW;
      style |= BS_AUTOCHECKBOX | BS_MULTILINE;
      break;
    case Kind::ComboBox:
      className = WC_COMBOBOXW;
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      createHeight *= 1 + static_cast<int>(row.itemCount);  // room for the dropped list
      break;
    case Kind::Label:
      className = WC_STATICW;
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case Kind::PictureBox: {
      if (row.settings & kSunkenBorder) exStyle |= WS_EX_CLIENTEDGE;
      auto& picture = pictures_[row.id];
      picture = std::make_unique<PictureBox>();
      RETURN_IF_FAILED(picture->Create(container, IdOf(row.id), place, style, exStyle, row.accessibleName));
      *window = picture->hwnd();
      return S_OK;
    }
    case Kind::Frame: {
      auto& frame = frames_[row.id];
      frame = std::make_unique<Frame>();
      RETURN_IF_FAILED(frame->Create(container, IdOf(row.id), place, style | WS_CLIPCHILDREN, exStyle, row.accessibleName));
      *window = frame->hwnd();
      return S_OK;
    }
    default:
      return E_UNEXPECTED;
  }
  *window = ::CreateWindowExW(exStyle, className, row.text, style, place.left, place.top,
                              place.right - place.left, createHeight, container,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(row.id))),
                              ::GetModuleHandleW(nullptr), nullptr);
  return *window ? S_OK : common::LastErrorHr();
}

void Form::ApplySettings(const ControlSpec& row) {
  if (row.kind == Kind::CheckBox) {
    ::SendMessageW(Control(row.id), BM_SETCHECK, (row.settings & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (row.kind == Kind::ComboBox) {
    const RECT place = PixelRect(row);
    FitComboFieldHeight(Control(row.id), place.bottom - place.top);
    for (std::size_t i = 0; i < row.itemCount; ++i) {
      const int index = AddItem(row.id, row.items[i].text);
      if (index >= 0) SendToList(row.id, LB_SETITEMDATA, CB_SETITEMDATA, index, row.items[i].data);
    }
  }
  if (row.settings & kButtonFaceBack) backColors_[row.id] = COLOR_BTNFACE;
}

// Screen readers name an edit, list or combo box after the label just
// before it in z-order (nothing that takes the focus in between). Created
// in the layout's order, each label would follow its field instead. Labels
// overlap no other control, so nothing on the screen moves.
void Form::PlaceLabelsBeforeTheirFields() {
  constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (const ControlSpec& row : layout_) {
    if (row.names == Ctl::None) continue;
    HWND label = Control(row.id);
    HWND field = Control(row.names);
    // Below its field, then the field below it: the label takes the
    // field's place in the order, just before it.
    ::SetWindowPos(label, field, 0, 0, 0, 0, kOrderOnly);
    ::SetWindowPos(field, label, 0, 0, 0, 0, kOrderOnly);
  }
}

RECT Form::PixelRect(const ControlSpec& row) const {
  const int left = Pixels(row.place.left);
  const int top = Pixels(row.place.top);
  return {left, top, left + Pixels(row.place.width), top + Pixels(row.place.height)};
}

int Form::Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

HWND Form::Control(Ctl id) const {
  for (const ControlWindow& control : controls_) {
    if (control.id == id) return control.window;
  }
  return nullptr;
}

// ---- Messages -------------------------------------------------------------

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

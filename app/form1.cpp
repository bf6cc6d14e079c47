#include "app/form1.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "app/file_drop_target.h"
#include "app/form1_layout.h"
#include "app/saved_icon.h"
#include "app/texts.h"
#include "app/ui_font.h"
#include "common/hresult.h"
#include "component/saved_state.h"
#include "resources/resource_ids.h"

namespace app {
namespace {

int DisplayDpi() {
  common::WindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

bool TakesFocus(Kind kind) {
  switch (kind) {
    case Kind::ListBox:
    case Kind::TextBox:
    case Kind::CommandButton:
    case Kind::PictureBox:
    case Kind::CheckBox:
    case Kind::ComboBox:
      return true;
    default:
      return false;
  }
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
  dpi_ = options_.dpi > 0 ? options_.dpi : DisplayDpi();
  font_ = CreateUiFont(dpi_);
  RETURN_IF_FAILED(Register());

  const WindowSpec& window = kForm1Window;
  RECT frame{0, 0, Pixels(window.clientWidth), Pixels(window.clientHeight)};
  const SIZE client{frame.right, frame.bottom};
  if (!::AdjustWindowRectEx(&frame, window.style, FALSE, window.exStyle)) return common::LastErrorHr();
  if (!::CreateWindowExW(window.exStyle, kForm1Class, window.title, window.style, CW_USEDEFAULT,
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
  focusOnActivate_ = Control(Ctl::cmdShow);
  RegisterFileDrops();
  // Without a control to talk to, every step of the load would fail again.
  if (HostTraylume(std::move(control)) || Traylume1().get()) Form_Load();
  return S_OK;
}

void Form1::Show(int showCommand) {
  ::ShowWindow(hwnd(), showCommand);
  ::UpdateWindow(hwnd());
  ::SetFocus(Control(Ctl::cmdShow));
}

HRESULT Form1::CreateControls() {
  for (const ControlSpec& row : Form1Layout()) {
    if (row.kind == Kind::Component || row.kind == Kind::Line) continue;
    HWND window = nullptr;
    RETURN_IF_FAILED(CreateControl(row, &window));
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Creation order is stacking order: each new control goes under the ones before it.
    ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    controls_.emplace_back(row.id, window);
    ApplySettings(row, window);
  }
  PlaceLabelsBeforeTheirFields();
  return S_OK;
}

// Screen readers name an edit, list or combo box after the label just
// before it in z-order (nothing that takes the focus in between). Created
// in the layout's order, each label would follow its field instead. Labels
// overlap no other control, so nothing on the screen moves.
void Form1::PlaceLabelsBeforeTheirFields() {
  constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (const ControlSpec& row : Form1Layout()) {
    if (row.names == Ctl::None) continue;
    HWND label = Control(row.id);
    HWND field = Control(row.names);
    // Below its field, then the field below it: the label takes the
    // field's place in the order, just before it.
    ::SetWindowPos(label, field, 0, 0, 0, 0, kOrderOnly);
    ::SetWindowPos(field, label, 0, 0, 0, 0, kOrderOnly);
  }
}

HRESULT Form1::CreateControl(const ControlSpec& row, HWND* window) {
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
    case Kind::PictureBox:
      if (row.settings & kSunkenBorder) exStyle |= WS_EX_CLIENTEDGE;
      RETURN_IF_FAILED(picIcon_.Create(container, IdOf(row.id), place, style, exStyle, row.accessibleName));
      *window = picIcon_.hwnd();
      return S_OK;
    case Kind::Frame:
      RETURN_IF_FAILED(
          frame1_.Create(container, IdOf(row.id), place, style | WS_CLIPCHILDREN, exStyle, row.accessibleName));
      *window = frame1_.hwnd();
      return S_OK;
    default:
      return E_UNEXPECTED;
  }
  *window = ::CreateWindowExW(exStyle, className, row.text, style, place.left, place.top,
                              place.right - place.left, createHeight, container,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(row.id))),
                              ::GetModuleHandleW(nullptr), nullptr);
  return *window ? S_OK : common::LastErrorHr();
}

void Form1::ApplySettings(const ControlSpec& row, HWND window) {
  if (row.kind == Kind::CheckBox) {
    ::SendMessageW(window, BM_SETCHECK, (row.settings & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (row.kind == Kind::ComboBox) {
    const RECT place = PixelRect(row);
    FitComboFieldHeight(window, place.bottom - place.top);
    for (std::size_t i = 0; i < row.itemCount; ++i) {
      const LRESULT index = ::SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.items[i].text));
      if (index >= 0) ::SendMessageW(window, CB_SETITEMDATA, index, row.items[i].data);
    }
  }
  if (row.settings & kButtonFaceBack) backColors_[row.id] = COLOR_BTNFACE;
}

void Form1::RegisterFileDrops() {
  for (const ControlSpec& row : Form1Layout()) {
    if (!(row.settings & kAcceptsFiles)) continue;
    // txtIconName is the one control that takes files.
    // The drop is handled once Drop has returned: a message box inside it
    // would hold up the program the file was dragged from.
    dropTarget_ = common::make<FileDropTarget>([this](common::ComResult read, std::wstring path) {
      pendingDrops_.push_back({std::move(read), std::move(path)});
      ::PostMessageW(hwnd(), kFileDroppedMessage, 0, 0);
    });
    if (!dropTarget_) {
      Check(common::ComResult::Failure(E_OUTOFMEMORY, texts::kAcceptFileDrops));
      return;
    }
    const HRESULT registered = ::RegisterDragDrop(Control(row.id), dropTarget_.get());
    if (FAILED(registered)) {
      dropTarget_->Detach();
      Check(common::ComResult::Failure(registered, texts::kAcceptFileDrops));
      return;
    }
    dropTargetWindow_ = Control(row.id);
  }
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

IDropTarget* Form1::iconNameDropTarget() const { return dropTarget_.get(); }

RECT Form1::PixelRect(const ControlSpec& row) const {
  const int left = Pixels(row.place.left);
  const int top = Pixels(row.place.top);
  return {left, top, left + Pixels(row.place.width), top + Pixels(row.place.height)};
}

int Form1::Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

HWND Form1::Control(Ctl id) const {
  for (const auto& [control, window] : controls_) {
    if (control == id) return window;
  }
  return nullptr;
}

// ---- Messages -------------------------------------------------------------

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      return OnControlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case kFileDroppedMessage:
      txtIconName_OLEDragDrop();
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
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

LRESULT Form1::OnControlColor(UINT message, HDC dc, HWND control) {
  Ctl id = ControlHolding(control);
  if (id == Ctl::None) {
    // The dropped list of cboInfoIcon is a window of its own.
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    if (::GetComboBoxInfo(Control(Ctl::cboInfoIcon), &combo) && combo.hwndList == control) id = Ctl::cboInfoIcon;
  }
  const auto color = backColors_.find(id);
  if (color == backColors_.end()) {
    return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkColor(dc, ::GetSysColor(color->second));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(color->second));
}

// Lines lie on the window's own surface; an earlier line lies above a later one.
void Form1::Paint(HDC dc) {
  const ControlSpecs layout = Form1Layout();
  for (std::size_t i = layout.size(); i-- > 0;) {
    if (layout[i].kind == Kind::Line) DrawLine(dc, layout[i].line);
  }
}

// The window's lines are all horizontal or vertical: each is a band `width`
// pixels thick to the right of, or below, its coordinates.
void Form1::DrawLine(HDC dc, const LineSpec& line) {
  const int x1 = Pixels(line.x1), y1 = Pixels(line.y1), x2 = Pixels(line.x2), y2 = Pixels(line.y2);
  RECT band{};
  if (x1 == x2) {
    band = {x1, std::min(y1, y2), x1 + line.widthPixels, std::max(y1, y2)};
  } else {
    band = {std::min(x1, x2), y1, std::max(x1, x2), y1 + line.widthPixels};
  }
  ::FillRect(dc, &band, ::GetSysColorBrush(line.colorIndex));
}

void Form1::OnActivate(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd(), focus)) focusOnActivate_ = focus;
  } else if (focusOnActivate_ && ::IsWindow(focusOnActivate_)) {
    ::SetFocus(focusOnActivate_);
  }
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
  controls_.clear();
  if (options_.quitWhenClosed) ::PostQuitMessage(0);
}

// ---- Keys the message loop hands to the form first ------------------------

bool Form1::PreTranslateMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || !hwnd()) return false;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (::GetKeyState(VK_MENU) < 0) return false;
  if (message.wParam == 'C' && control && message.hwnd && message.hwnd == Control(Ctl::lstEvent)) {
    mnuLogCopy_Click();
    return true;
  }
  if (message.wParam != VK_TAB || control) return false;
  if (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd)) return false;
  MoveFocus(::GetKeyState(VK_SHIFT) < 0);
  return true;
}

// By tab index, skipping what cannot take the focus now, wrapping round.
void Form1::MoveFocus(bool backward) {
  std::vector<const ControlSpec*> order;
  for (const ControlSpec& row : Form1Layout()) {
    if (TakesFocus(row.kind) && row.tabIndex >= 0) order.push_back(&row);
  }
  std::sort(order.begin(), order.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
  if (order.empty()) return;

  const Ctl current = ControlHolding(::GetFocus());
  const int count = static_cast<int>(order.size());
  int position = backward ? 0 : -1;
  for (int i = 0; i < count; ++i) {
    if (order[i]->id == current) position = i;
  }
  for (int step = 1; step <= count; ++step) {
    const int next = ((position + (backward ? -step : step)) % count + count) % count;
    HWND candidate = Control(order[next]->id);
    if (candidate && ::IsWindowEnabled(candidate) && ::IsWindowVisible(candidate)) {
      ::SetFocus(candidate);
      return;
    }
  }
}

Ctl Form1::ControlHolding(HWND window) const {
  for (; window && window != hwnd(); window = ::GetParent(window)) {
    for (const auto& [control, controlWindow] : controls_) {
      if (controlWindow == window) return control;
    }
  }
  return Ctl::None;
}

// ---- Control properties ---------------------------------------------------

std::wstring Form1::Text(Ctl id) const {
  HWND window = Control(id);
  std::wstring text(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(window), 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form1::SetText(Ctl id, const std::wstring& text) { ::SetWindowTextW(Control(id), text.c_str()); }

int Form1::CheckValue(Ctl id) const {
  return static_cast<int>(::SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

void Form1::SetEnabled(Ctl id, bool enabled) { ::EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void Form1::SetBackColor(Ctl id, int colorIndex) {
  backColors_[id] = colorIndex;
  ::InvalidateRect(Control(id), nullptr, TRUE);
}

int Form1::ListIndex(Ctl id) const { return static_cast<int>(::SendMessageW(Control(id), CB_GETCURSEL, 0, 0)); }

void Form1::SetListIndex(Ctl id, int index) { ::SendMessageW(Control(id), CB_SETCURSEL, index, 0); }

long Form1::ItemData(Ctl id, int index) const {
  return static_cast<long>(::SendMessageW(Control(id), CB_GETITEMDATA, index, 0));
}

bool Form1::Check(const common::ComResult& result) {
  if (result.ok()) return true;
  ShowFailure(options_.messageBox, hwnd(), result);
  return false;
}

}  // namespace app

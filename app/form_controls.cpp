// The controls of a form, built from its layout table in creation order:
// class and styles by kind, the font, the stacking order, initial settings.
#include "app/form.h"

#include <commctrl.h>

#include <utility>

#include "common/hresult.h"

namespace app {
namespace {

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
  RETURN_LAST_ERROR_IF(!*window);
  return S_OK;
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

}  // namespace app

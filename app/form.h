#pragma once
// A form: a top-level window built from a layout table (app/layout.h) with
// what every such window has: one font at its DPI, the controls' background
// colours, the lines painted on its surface, its own Tab order and typed
// properties of its controls. A form of the program derives from it, keeps
// its own behaviour, and gets the messages the form leaves to it.

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/frame.h"
#include "app/layout.h"
#include "app/picture_box.h"
#include "common/unique_handle.h"
#include "common/window_base.h"

namespace app {

class Form : public common::WindowBase<Form> {
 public:
  // The derived form destroys the window in its own destructor, while its
  // handlers still exist; this one only catches a window left over.
  virtual ~Form();

  // Shows the window with the focus on the first control in tab order.
  void Show(int showCommand);

  // Tab and Shift+Tab, before the message loop dispatches them: the focus
  // moves in tab order. True when the message was consumed.
  bool TranslateTabKey(const MSG& message);

  // The window of a control, or nullptr (a component has none).
  HWND Control(Ctl id) const;

 protected:
  Form();

  // Creates the window of the registered class `className` (hidden) as
  // `window` describes it, with every control of `layout`, at `dpi` (0: the
  // display's). Nothing of the window is left when it fails.
  HRESULT CreateForm(const wchar_t* className, const WindowSpec& window, ControlSpecs layout, int dpi);

  // The messages the form does not handle itself; Default unless overridden.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // The controls' properties.
  std::wstring Text(Ctl id) const;
  void SetText(Ctl id, const std::wstring& text);
  int CheckValue(Ctl id) const;  // a check box: 0 unchecked, 1 checked
  void SetEnabled(Ctl id, bool enabled);
  void SetBackColor(Ctl id, int colorIndex);  // a system colour index
  // Redrawing switched off, or on again with the whole control redrawn.
  void SetRedraw(Ctl id, bool on);
  // List boxes and combo boxes alike; an index of -1 is no item.
  int ListCount(Ctl id) const;
  int ListIndex(Ctl id) const;
  void SetListIndex(Ctl id, int index);
  std::wstring ItemText(Ctl id, int index) const;
  long ItemData(Ctl id, int index) const;
  int AddItem(Ctl id, const wchar_t* text);  // the new item's index, negative when it could not be added
  // Where item `index` is shown, in screen coordinates; an empty rectangle
  // at the list's top-left corner where no item is.
  RECT ItemScreenRect(Ctl id, int index) const;
  PictureBox* Picture(Ctl id) const;  // nullptr for any other kind

 private:
  friend class common::WindowBase<Form>;
  struct ControlWindow {
    Ctl id;
    Kind kind;
    HWND window;
  };

  // Messages.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColor(UINT message, HDC dc, HWND control);
  void OnActivate(bool active);
  void Paint(HDC dc);
  void DrawLine(HDC dc, const LineSpec& line);

  // Building.
  HRESULT CreateControls();
  HRESULT CreateControl(const ControlSpec& row, HWND* window);
  void ApplySettings(const ControlSpec& row);
  void PlaceLabelsBeforeTheirFields();
  RECT PixelRect(const ControlSpec& row) const;
  int Pixels(int twips) const;

  // Tab order.
  static bool TakesFocus(Kind kind);
  std::vector<const ControlSpec*> TabOrder() const;
  void MoveFocus(bool backward);
  Ctl ControlHolding(HWND window) const;  // the control `window` is or lies in
  Ctl ControlColored(HWND window) const;  // ControlHolding, or the combo box whose dropped list it is

  // The list box, or the list a combo box drops; nullptr for any other kind.
  HWND ListWindow(Ctl id) const;
  // `listBoxMessage` to a list box, `comboBoxMessage` to a combo box; LB_ERR
  // for any other kind.
  LRESULT SendToList(Ctl id, UINT listBoxMessage, UINT comboBoxMessage, WPARAM wParam, LPARAM lParam) const;

  ControlSpecs layout_{};
  int dpi_ = 96;
  common::UniqueFont font_;
  std::vector<ControlWindow> controls_;
  std::map<Ctl, std::unique_ptr<PictureBox>> pictures_;
  std::map<Ctl, std::unique_ptr<Frame>> frames_;
  std::map<Ctl, int> backColors_;  // system colour index of controls that set one
  HWND focusOnActivate_ = nullptr;
};

}  // namespace app

#include "app/form1_layout.h"

#include <iterator>

#include "app/texts.h"
#include "contract/traylume_contract.h"

namespace app {
namespace {

constexpr Ctl kWindow = Ctl::None;

constexpr ControlSpec Component(Ctl id, const wchar_t* name, int left, int top) {
  return {id, name, Kind::Component, kWindow, {left, top, 0, 0}, -1, nullptr, kNoSettings, nullptr, 0, {}};
}

constexpr ControlSpec Control(Ctl id, const wchar_t* name, Kind kind, Ctl container, Twips place,
                              int tabIndex, const wchar_t* text = L"", unsigned settings = kNoSettings) {
  return {id, name, kind, container, place, tabIndex, text, settings, nullptr, 0, {}};
}

// A label that names the field after it, for screen readers as for the eye.
constexpr ControlSpec Label(Ctl id, const wchar_t* name, Ctl container, Twips place, int tabIndex,
                            const wchar_t* text, Ctl field) {
  return {id, name, Kind::Label, container, place, tabIndex, text, kNoSettings, nullptr, 0, {}, field};
}

// A control of our own classes with the name screen readers give it.
constexpr ControlSpec Named(ControlSpec row, const wchar_t* accessibleName) {
  row.accessibleName = accessibleName;
  return row;
}

constexpr ControlSpec ComboBox(Ctl id, const wchar_t* name, Ctl container, Twips place, int tabIndex,
                               unsigned settings, const ComboItem* items, std::size_t count) {
  return {id, name, Kind::ComboBox, container, place, tabIndex, L"", settings, items, count, {}};
}

constexpr ControlSpec Line(const wchar_t* name, int x1, int y1, int x2, int y2, int colorIndex,
                           int widthPixels) {
  return {Ctl::None, name, Kind::Line, kWindow, {}, -1, nullptr, kNoSettings, nullptr, 0,
          {x1, y1, x2, y2, colorIndex, widthPixels}};
}

}  // namespace

// Item data is the balloon icon kind the component takes.
const ComboItem kInfoIconItems[] = {
    {texts::kInfoIconNone, contract::kBalloonNone},
    {texts::kInfoIconInformation, contract::kBalloonInformation},
    {texts::kInfoIconWarning, contract::kBalloonWarning},
    {texts::kInfoIconError, contract::kBalloonError},
};
const std::size_t kInfoIconItemCount = std::size(kInfoIconItems);

const WindowSpec kForm1Window = {
    texts::kTitle, 7500, 6270,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,  // fixed single border, close box only
    0,
};

namespace {
// clang-format off
const ControlSpec kForm1Layout[] = {
  Component(Ctl::Traylume1, L"Traylume1", 6900, 780),
  Control(Ctl::lstEvent, L"lstEvent", Kind::ListBox, kWindow, {4380, 1920, 3075, 1500}, 19),
  Control(Ctl::txtIconName, L"txtIconName", Kind::TextBox, kWindow, {360, 3180, 3135, 270}, 18, L"", kAcceptsFiles),
  Control(Ctl::cmdLoad, L"cmdLoad", Kind::CommandButton, kWindow, {3540, 3180, 735, 255}, 17, texts::kCmdLoad),
  Named(Control(Ctl::picIcon, L"picIcon", Kind::PictureBox, kWindow, {0, 3180, 300, 300}, 15, L"", kSunkenBorder), texts::kPicIconName),
  Control(Ctl::cmdRefresh, L"cmdRefresh", Kind::CommandButton, kWindow, {4380, 4800, 3075, 615}, 14, texts::kCmdRefresh),
  Control(Ctl::chkRefresh, L"chkRefresh", Kind::CheckBox, kWindow, {4380, 5520, 3075, 735}, 13, texts::kChkRefresh),
  Control(Ctl::chkBalloon, L"chkBalloon", Kind::CheckBox, kWindow, {120, 4200, 1515, 195}, 5, texts::kChkBalloon),
  Named(Control(Ctl::Frame1, L"Frame1", Kind::Frame, kWindow, {0, 4200, 4275, 2055}, 4), texts::kChkBalloon),  // its title is chkBalloon
  Control(Ctl::chkBalloonSound, L"chkBalloonSound", Kind::CheckBox, Ctl::Frame1, {120, 1680, 3075, 195}, 12, texts::kChkBalloonSound, kChecked | kDisabled),
  ComboBox(Ctl::cboInfoIcon, L"cboInfoIcon", Ctl::Frame1, {780, 1320, 3375, 300}, 11, kDisabled | kButtonFaceBack, kInfoIconItems, std::size(kInfoIconItems)),
  Control(Ctl::txtBalloonText, L"txtBalloonText", Kind::TextBox, Ctl::Frame1, {780, 600, 3375, 690}, 8, L"", kMultiLine | kDisabled | kButtonFaceBack),
  Control(Ctl::txtBalloonTitle, L"txtBalloonTitle", Kind::TextBox, Ctl::Frame1, {780, 300, 3375, 270}, 6, L"", kDisabled | kButtonFaceBack),
  Label(Ctl::Label1_3, L"Label1(3)", Ctl::Frame1, {60, 1320, 675, 195}, 10, texts::kLabel1_3, Ctl::cboInfoIcon),
  Label(Ctl::Label1_2, L"Label1(2)", Ctl::Frame1, {60, 600, 675, 195}, 9, texts::kLabel1_2, Ctl::txtBalloonText),
  Label(Ctl::Label1_1, L"Label1(1)", Ctl::Frame1, {60, 300, 675, 195}, 7, texts::kLabel1_1, Ctl::txtBalloonTitle),
  Control(Ctl::txtToolTip, L"txtToolTip", Kind::TextBox, kWindow, {0, 1980, 4275, 690}, 2, texts::kTxtToolTip, kMultiLine),
  Control(Ctl::cmdVanish, L"cmdVanish", Kind::CommandButton, kWindow, {4380, 4200, 3075, 615}, 1, texts::kCmdVanish),
  Control(Ctl::cmdShow, L"cmdShow", Kind::CommandButton, kWindow, {4380, 3600, 3075, 615}, 0, texts::kCmdShow),
  Control(Ctl::Label1_6, L"Label1(6)", Kind::Label, kWindow, {60, 3540, 4215, 555}, 22, texts::kLabel1_6),
  Line(L"Line1(2)", 7440, 3460, 4320, 3460, COLOR_BTNSHADOW, 1),
  Control(Ctl::Label2, L"Label2", Kind::Label, kWindow, {60, 60, 7335, 1155}, 21, texts::kLabel2),
  Line(L"Line1(1)", 4305, 1380, 4305, 6200, COLOR_BTNSHADOW, 1),
  Line(L"Line1(0)", 4320, 1380, 4320, 6200, COLOR_BTNHIGHLIGHT, 2),
  Label(Ctl::Label1_5, L"Label1(5)", kWindow, {60, 1380, 4215, 555}, 20, texts::kLabel1_5, Ctl::txtToolTip),
  Label(Ctl::Label1_4, L"Label1(4)", kWindow, {60, 2700, 4215, 435}, 16, texts::kLabel1_4, Ctl::txtIconName),
  Label(Ctl::Label1_0, L"Label1(0)", kWindow, {4380, 1320, 3075, 555}, 3, texts::kLabel1_0, Ctl::lstEvent),
  Line(L"Line1(3)", 7440, 3480, 4320, 3480, COLOR_BTNHIGHLIGHT, 2),
};
// clang-format on
}  // namespace

ControlSpecs Form1Layout() { return {kForm1Layout, std::size(kForm1Layout)}; }

const ControlSpec* FindControlSpec(Ctl id) {
  for (const ControlSpec& row : Form1Layout()) {
    if (row.id == id && id != Ctl::None) return &row;
  }
  return nullptr;
}

}  // namespace app

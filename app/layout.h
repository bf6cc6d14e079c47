#pragma once
// What a layout table is made of: the window's own settings and one row per
// control, in creation order. Places and sizes are in twips, measured from
// the container's client area; app/form.h builds a window from them.

#include <windows.h>

#include <cstddef>

#include "app/control_ids.h"

namespace app {

enum class Kind { Component, ListBox, TextBox, CommandButton, PictureBox, CheckBox, Frame, ComboBox, Label, Line };

// Initial settings, combined with |.
enum Setting : unsigned {
  kNoSettings = 0,
  kMultiLine = 1u << 0,       // text box: several lines, Enter starts a new one
  kChecked = 1u << 1,         // check box: value 1
  kDisabled = 1u << 2,        // enabled false
  kButtonFaceBack = 1u << 3,  // background 0x8000000F (button face)
  kAcceptsFiles = 1u << 4,    // files can be dropped onto it
  kSunkenBorder = 1u << 5,    // standard sunken border
};

struct Twips {
  int left, top, width, height;
};

// A line drawn on its container's surface.
struct LineSpec {
  int x1, y1, x2, y2;  // twips
  int colorIndex;      // COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT
  int widthPixels;
};

struct ComboItem {
  const wchar_t* text;
  long data;
};

struct ControlSpec {
  Ctl id;
  const wchar_t* name;
  Kind kind;
  Ctl container;  // Ctl::None: the window's client area
  Twips place;
  int tabIndex;  // -1: none
  const wchar_t* text;
  unsigned settings;
  const ComboItem* items;
  std::size_t itemCount;
  LineSpec line;
  Ctl names = Ctl::None;                    // a label: the field it names
  const wchar_t* accessibleName = nullptr;  // a picture box or frame: what screen readers call it
};

struct WindowSpec {
  const wchar_t* title;
  int clientWidth, clientHeight;  // twips
  DWORD style;
  DWORD exStyle;
};

// Rows of a layout table, in creation order.
struct ControlSpecs {
  const ControlSpec* first;
  std::size_t count;
  const ControlSpec* begin() const { return first; }
  const ControlSpec* end() const { return first + count; }
  std::size_t size() const { return count; }
  const ControlSpec& operator[](std::size_t i) const { return first[i]; }
};

constexpr int kTwipsPerInch = 1440;

inline int TwipsToPixels(int twips, int dpi) { return ::MulDiv(twips, dpi, kTwipsPerInch); }

}  // namespace app

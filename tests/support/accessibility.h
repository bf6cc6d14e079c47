#pragma once
// What a screen reader hears of a window: its client area's accessible
// object, asked through oleacc as a screen reader asks, in this process or
// from another one.

#include <windows.h>

#include <map>
#include <ostream>
#include <string>

namespace support {

struct Heard {
  std::wstring name;
  long role = 0;
  std::wstring description;
  bool operator==(const Heard& other) const {
    return name == other.name && role == other.role && description == other.description;
  }
};

// For GoogleTest's messages.
void PrintTo(const Heard& heard, std::ostream* out);

Heard HeardOf(HWND window);

// Every control of `form` (its children and theirs), by control id.
std::map<int, Heard> HeardOfEveryControl(HWND form);

}  // namespace support

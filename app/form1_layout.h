#pragma once
// The description of Form1: the window's own settings and every control in
// creation order, which is also the stacking order (an earlier entry lies
// above a later one where they overlap), but that a label goes just before
// the field it names, where screen readers look for a field's name.

#include <cstddef>

#include "app/layout.h"

namespace app {

extern const WindowSpec kForm1Window;
ControlSpecs Form1Layout();
extern const ComboItem kInfoIconItems[];
extern const std::size_t kInfoIconItemCount;

// The entry of `id`, or nullptr.
const ControlSpec* FindControlSpec(Ctl id);

}  // namespace app

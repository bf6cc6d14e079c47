#pragma once
// The one font of the window: 9 points at the layout's DPI, with the
// Shift-JIS character set so that the font mapper picks a face that shows
// Japanese under any system locale.

#include <windows.h>

#include <string_view>

#include "common/unique_handle.h"

namespace app {

// The first candidate face that shows Japanese, else whatever the mapper
// gives for the character set.
common::UniqueFont CreateUiFont(int dpi);

// True when `font` has a glyph for every character of `text` other than
// line breaks.
bool FontShowsText(HFONT font, std::wstring_view text);

}  // namespace app

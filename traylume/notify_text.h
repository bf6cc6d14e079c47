#pragma once
// Copies text into the fixed-size fields of NOTIFYICONDATAW.

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace traylume {

// Copies as much of `text` as `field` holds with its terminator, never
// splitting a surrogate pair at the cut.
template <size_t N>
void CopyTruncated(wchar_t (&field)[N], std::wstring_view text) {
  static_assert(N > 1, "a field holds at least one character and the terminator");
  size_t count = std::min(text.size(), N - 1);
  if (count < text.size() && count > 0 && IS_HIGH_SURROGATE(text[count - 1])) --count;
  std::copy_n(text.data(), count, field);
  field[count] = L'\0';
}

}  // namespace traylume

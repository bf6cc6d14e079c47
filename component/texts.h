#pragma once
// Texts of the binding that can reach the user (through common::ComResult's
// description), kept in one place.

#include <string>
#include <string_view>

namespace component::texts {

inline constexpr wchar_t kIconIsNotPicture[] = L"Icon プロパティが画像を返しませんでした。";
inline constexpr wchar_t kNoControl[] = L"コンポーネントがありません。";

// The start-up failure: names the ProgID and the file that were tried.
inline std::wstring CannotCreate(std::wstring_view progId, std::wstring_view fileName) {
  std::wstring text = L"コンポーネント「";
  text.append(progId);
  text.append(L"」(");
  text.append(fileName);
  text.append(L") を作成できませんでした。");
  return text;
}

}  // namespace component::texts

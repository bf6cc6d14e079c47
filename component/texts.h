#pragma once
// Texts of the binding that can reach the user (through ComResult's
// description), kept in one place.

#include <windows.h>

#include <string>
#include <string_view>

#include "common/hresult.h"

namespace component::texts {

inline constexpr wchar_t kIconIsNotPicture[] = L"Icon プロパティが画像を返しませんでした。";
inline constexpr wchar_t kNoControl[] = L"コンポーネントがありません。";

// The start-up failure: names the ProgID and the file, then each way tried.
inline std::wstring CannotCreate(std::wstring_view progId, std::wstring_view fileName) {
  std::wstring text = L"コンポーネント「";
  text.append(progId).append(L"」(").append(fileName).append(L") を作成できませんでした。");
  return text;
}

inline constexpr wchar_t kRegisteredRoute[] = L"登録されたクラスから";

inline std::wstring FileRoute(std::wstring_view folder, std::wstring_view fileName) {
  std::wstring text = L"登録なしで「";
  text.append(folder).append(L"\\").append(fileName).append(L"」から");
  return text;
}

// "<route>: <reason> (0x........)"
inline std::wstring RouteFailed(std::wstring_view route, HRESULT hr, std::wstring_view reason) {
  std::wstring text(route);
  text.append(L": ").append(reason.empty() ? std::wstring_view(L"理由は不明です。") : reason);
  text.append(L" (").append(common::HresultCode(hr)).append(L")");
  return text;
}

}  // namespace component::texts

#pragma once
// Which component the program hosts, and the file it falls back to when the
// component is not registered.

namespace app {

inline constexpr wchar_t kTraylumeProgId[] = L"TraylumeControl.Traylume";
inline constexpr wchar_t kTraylumeFile[] = L"Traylume.ocx";

}  // namespace app

#pragma once
// Conversions of text that several modules need.

#include <windows.h>

#include <string>
#include <string_view>

namespace common {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the registry and manifests write it.
std::wstring GuidText(REFGUID guid);

// UTF-16 to UTF-8.
std::string Utf8(std::wstring_view text);

}  // namespace common

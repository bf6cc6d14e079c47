#pragma once
// __uuidof for interfaces whose mingw-w64 headers declare no GUID for it
// (MSVC's headers do, so this is for mingw-w64 alone).

#include <windows.h>
#include <objsafe.h>

#if defined(__MINGW32__)
__CRT_UUID_DECL(IObjectSafety, 0xCB5BDC81, 0x93C1, 0x11CF, 0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64)
#endif

#pragma once
// What DllRegisterServer writes and DllUnregisterServer removes, as data:
// the registry rows of the control below Software\Classes, with words
// between % that Expand fills in. The installer's rows
// (tools/installer/control_registry.wxi) are held to this table by a test.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace traylume {

// One value to write: key and value name (nullptr: the key's default
// value); a value of nullptr creates the key only.
struct RegistryEntry {
  const wchar_t* key;
  const wchar_t* name;
  const wchar_t* value;
};

inline constexpr RegistryEntry kRegistryEntries[] = {
    {L"CLSID\\%CLSID%", nullptr, L"%DESCRIPTION%"},
    {L"CLSID\\%CLSID%\\InprocServer32", nullptr, L"%MODULE%"},
    {L"CLSID\\%CLSID%\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {L"CLSID\\%CLSID%\\ProgID", nullptr, L"%VERSIONEDPROGID%"},
    {L"CLSID\\%CLSID%\\VersionIndependentProgID", nullptr, L"%PROGID%"},
    {L"CLSID\\%CLSID%\\TypeLib", nullptr, L"%LIBID%"},
    {L"CLSID\\%CLSID%\\Version", nullptr, L"%VERSION%"},
    {L"CLSID\\%CLSID%\\Control", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\Programmable", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\MiscStatus", nullptr, L"0"},
    {L"CLSID\\%CLSID%\\MiscStatus\\1", nullptr, L"%MISCSTATUS%"},
    {L"CLSID\\%CLSID%\\ToolboxBitmap32", nullptr, L"%MODULE%, %TOOLBOXBITMAP%"},
    // What the class is, for containers that look: a control, programmable
    // through automation, safe to initialise from untrusted data.
    {L"CLSID\\%CLSID%\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}", nullptr, nullptr},
    {L"CLSID\\%CLSID%\\Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}", nullptr, nullptr},
    {L"%PROGID%", nullptr, L"%DESCRIPTION%"},
    {L"%PROGID%\\CLSID", nullptr, L"%CLSID%"},
    {L"%PROGID%\\CurVer", nullptr, L"%VERSIONEDPROGID%"},
    {L"%VERSIONEDPROGID%", nullptr, L"%DESCRIPTION%"},
    {L"%VERSIONEDPROGID%\\CLSID", nullptr, L"%CLSID%"},
    {L"TypeLib\\%LIBID%\\%VERSION%", nullptr, L"Traylume notification area icon control"},
    {L"TypeLib\\%LIBID%\\%VERSION%\\0\\%PLATFORM%", nullptr, L"%MODULE%"},
    {L"TypeLib\\%LIBID%\\%VERSION%\\FLAGS", nullptr, L"2"},  // LIBFLAG_FCONTROL
    {L"TypeLib\\%LIBID%\\%VERSION%\\HELPDIR", nullptr, L"%MODULEDIR%"},
};

// The rows of each of the control's dispinterfaces, written after the rows
// above for one interface after the other: %IID% is its id's word and
// %INTERFACE% its name.
inline constexpr RegistryEntry kInterfaceEntries[] = {
    {L"Interface\\%IID%", nullptr, L"%INTERFACE%"},
    {L"Interface\\%IID%\\ProxyStubClsid", nullptr, L"%DISPATCHPROXY%"},
    {L"Interface\\%IID%\\ProxyStubClsid32", nullptr, L"%DISPATCHPROXY%"},
    {L"Interface\\%IID%\\TypeLib", nullptr, L"%LIBID%"},
    {L"Interface\\%IID%\\TypeLib", L"Version", L"%VERSION%"},
};

struct RegisteredInterface {
  const wchar_t* iid;  // the word of its id
  const wchar_t* name;
};
inline constexpr RegisteredInterface kInterfaces[] = {{L"%CONTROLIID%", L"ITraylume"},
                                                      {L"%EVENTSIID%", L"ITraylumeEvents"}};

// Keys that belong to this server alone: unregistering removes each with
// everything below it.
inline constexpr const wchar_t* kOwnedKeys[] = {L"CLSID\\%CLSID%", L"Interface\\%CONTROLIID%",
                                                L"Interface\\%EVENTSIID%"};
// The type library's key is one for both registry views: a 32-bit and a
// 64-bit control registered side by side each name their own file below it,
// and the key goes with the last of them.
inline constexpr wchar_t kTypeLibKey[] = L"TypeLib\\%LIBID%";
inline constexpr wchar_t kTypeLibPlatforms[] = L"TypeLib\\%LIBID%\\%VERSION%\\0";
// ProgIDs are shared names: removed, with all below them, only while they
// still name our class.
inline constexpr const wchar_t* kProgIdKeys[] = {L"%PROGID%", L"%VERSIONEDPROGID%"};

// Where a registered control is: what %MODULE%, %MODULEDIR% and %PLATFORM%
// become.
struct RegistryPlace {
  std::wstring module;     // the control's file
  std::wstring moduleDir;  // its folder
  std::wstring platform;   // win32 or win64: where the type library names the file
};

// `text` with each %WORD% of the tables filled in for a control at `place`.
std::wstring ExpandRegistryText(std::wstring_view text, const RegistryPlace& place);

// One row as it is written: key, value name (nullptr: the default value)
// and value (none: the key only).
struct RegistryRow {
  std::wstring key;
  const wchar_t* name;
  std::optional<std::wstring> value;
};

// Every row RegisterServer writes for a control at `place`, in order.
std::vector<RegistryRow> RegistryRows(const RegistryPlace& place);

}  // namespace traylume

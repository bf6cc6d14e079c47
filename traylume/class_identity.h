#pragma once
// The names and identifiers of the Traylume control: its GUIDs come from
// the type library (traylume.idl), the rest is stated here once.

#include <windows.h>

#include "contract/traylume_contract.h"
#include "traylume_idl.h"

namespace traylume {

using contract::kInitialExtent;
using contract::kProgId;
constexpr const wchar_t kVersionedProgId[] = L"TraylumeControl.Traylume.1";
constexpr const wchar_t kClassDescription[] = L"Traylume Control";
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;

// What a form host learns from IOleObject::GetMiscStatus and the registry:
// nothing to see while the program runs, and the client site comes first.
constexpr DWORD kMiscStatus =
    OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_NOUIACTIVATE;

}  // namespace traylume

#include "tests/support/shell_spy.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "tests/support/pictures.h"

namespace support {
namespace {

ShellSpy* active = nullptr;

// The import address table slot through which `module` calls `function`
// of `dll`, or nullptr.
void** ImportSlot(HMODULE module, const char* dll, const char* function) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return nullptr;
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
       ++entry) {
    if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
    const DWORD namesRva = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + namesRva);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
        return reinterpret_cast<void**>(&slots->u1.Function);
      }
    }
  }
  return nullptr;
}

// Puts `value` into `slot`, returning what was there.
void* Swap(void** slot, void* value) {
  DWORD protection = 0;
  ::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
  std::swap(*slot, value);
  ::VirtualProtect(slot, sizeof(void*), protection, &protection);
  return value;
}

}  // namespace

ShellSpy::ShellSpy(HMODULE module) {
  if (!module || active || !(slot_ = ImportSlot(module, "shell32.dll", "Shell_NotifyIconW"))) return;
  active = this;
  original_ = Swap(slot_, reinterpret_cast<void*>(&ShellSpy::Record));
}

ShellSpy::~ShellSpy() {
  if (slot_) Swap(slot_, original_), active = nullptr;
}

BOOL WINAPI ShellSpy::Record(DWORD message, PNOTIFYICONDATAW data) {
  ShellSpy* spy = active;
  if (!spy || !data) return FALSE;
  Call call{message, {}, std::nullopt};
  std::memcpy(&call.data, data, std::min<size_t>(data->cbSize, sizeof(call.data)));
  if ((data->uFlags & NIF_ICON) && data->hIcon) call.iconColor = IconCentreColor(data->hIcon);
  spy->calls.push_back(call);
  return spy->failing.count(message) ? FALSE : TRUE;
}

}  // namespace support

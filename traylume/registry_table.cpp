#include "traylume/registry_table.h"

#include <utility>

#include "common/text.h"
#include "traylume/class_identity.h"
#include "traylume/resource_ids.h"

namespace traylume {
namespace {

// The automation marshaler (PSDispatch) serves dispinterfaces.
constexpr wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring Word(std::wstring_view word, const RegistryPlace& place) {
  if (word == L"CLSID") return common::GuidText(CLSID_Traylume);
  if (word == L"LIBID") return common::GuidText(LIBID_TraylumeControl);
  if (word == L"CONTROLIID") return common::GuidText(DIID_ITraylume);
  if (word == L"EVENTSIID") return common::GuidText(DIID_ITraylumeEvents);
  if (word == L"PROGID") return kProgId;
  if (word == L"VERSIONEDPROGID") return kVersionedProgId;
  if (word == L"DESCRIPTION") return kClassDescription;
  if (word == L"VERSION") return std::to_wstring(kTypeLibMajor) + L"." + std::to_wstring(kTypeLibMinor);
  if (word == L"MODULE") return place.module;
  if (word == L"MODULEDIR") return place.moduleDir;
  if (word == L"PLATFORM") return place.platform;
  if (word == L"MISCSTATUS") return std::to_wstring(kMiscStatus);
  if (word == L"TOOLBOXBITMAP") return std::to_wstring(IDB_TOOLBOX);
  if (word == L"DISPATCHPROXY") return kDispatchProxy;
  return std::wstring(word);
}

// `text` with each %IID% and %INTERFACE% of kInterfaceEntries filled in.
std::wstring ForInterface(std::wstring text, const RegisteredInterface& registered) {
  for (const auto& [word, value] : {std::pair{L"%IID%", registered.iid}, std::pair{L"%INTERFACE%", registered.name}}) {
    const std::wstring_view found(word);
    for (size_t at = text.find(found); at != std::wstring::npos; at = text.find(found)) {
      text.replace(at, found.size(), value);
    }
  }
  return text;
}

RegistryRow Row(const RegistryEntry& entry, const RegistryPlace& place, const RegisteredInterface* registered) {
  auto fill = [&](const wchar_t* text) {
    return ExpandRegistryText(registered ? ForInterface(text, *registered) : std::wstring(text), place);
  };
  RegistryRow row{fill(entry.key), entry.name, std::nullopt};
  if (entry.value) row.value = fill(entry.value);
  return row;
}

}  // namespace

std::vector<RegistryRow> RegistryRows(const RegistryPlace& place) {
  std::vector<RegistryRow> rows;
  for (const RegistryEntry& entry : kRegistryEntries) rows.push_back(Row(entry, place, nullptr));
  for (const RegisteredInterface& registered : kInterfaces) {
    for (const RegistryEntry& entry : kInterfaceEntries) rows.push_back(Row(entry, place, &registered));
  }
  return rows;
}

std::wstring ExpandRegistryText(std::wstring_view text, const RegistryPlace& place) {
  std::wstring out;
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find(L'%', at);
    if (open == std::wstring_view::npos) break;
    const size_t close = text.find(L'%', open + 1);
    if (close == std::wstring_view::npos) break;
    out.append(text.substr(at, open - at));
    out.append(Word(text.substr(open + 1, close - open - 1), place));
    at = close + 1;
  }
  out.append(text.substr(at));
  return out;
}

}  // namespace traylume

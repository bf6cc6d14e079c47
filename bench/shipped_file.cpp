#include "bench/shipped_file.h"

#include <cstring>
#include <vector>

#include "common/unique_handle.h"

namespace bench {
namespace {

std::vector<unsigned char> ReadAll(const std::wstring& path) {
  common::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return {};
  std::vector<unsigned char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    return {};
  }
  return bytes;
}

// Debug sections have names that start with ".debug", or, being longer
// than eight characters, "/" and an offset into the symbols' string table.
bool IsDebugSection(const IMAGE_SECTION_HEADER& section) {
  const char* name = reinterpret_cast<const char*>(section.Name);
  return name[0] == '/' || std::strncmp(name, ".debug", 6) == 0;
}

}  // namespace

ShippedFile InspectShippedFile(const std::wstring& path) {
  ShippedFile result;
  const std::vector<unsigned char> bytes = ReadAll(path);
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return result;
  result.bytes = bytes.size();
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, bytes.data(), sizeof(dos));
  const size_t headerAt = static_cast<size_t>(dos.e_lfanew) + sizeof(DWORD);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || headerAt + sizeof(IMAGE_FILE_HEADER) > bytes.size()) return result;
  IMAGE_FILE_HEADER header;
  std::memcpy(&header, bytes.data() + headerAt, sizeof(header));
  const size_t sectionsAt = headerAt + sizeof(header) + header.SizeOfOptionalHeader;
  if (sectionsAt + header.NumberOfSections * sizeof(IMAGE_SECTION_HEADER) > bytes.size()) return result;
  result.stripped = header.PointerToSymbolTable == 0 && header.NumberOfSymbols == 0;
  for (WORD i = 0; i < header.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    std::memcpy(&section, bytes.data() + sectionsAt + i * sizeof(section), sizeof(section));
    if (IsDebugSection(section)) result.stripped = false;
  }
  return result;
}

}  // namespace bench

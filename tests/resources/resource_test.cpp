// Reads the resources back from the built program file, as the system and
// the program see them: the version block, the icon group, the control's
// saved icon and the manifest.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/unique_handle.h"
#include "resources/resource_ids.h"
#include "traylume_version.h"

namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + TRAYLUME_PROGRAM_FILE;
}

// The program file mapped for its resources only (no code runs).
common::UniqueModule LoadProgram() {
  return common::UniqueModule(::LoadLibraryExW(
      ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::vector<BYTE> ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
  HRSRC found = ::FindResourceW(module, name, type);
  if (!found) return {};
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* bytes = static_cast<const BYTE*>(::LockResource(loaded));
  if (!bytes) return {};
  return std::vector<BYTE>(bytes, bytes + ::SizeofResource(module, found));
}

#pragma pack(push, 1)
// An icon group resource (RT_GROUP_ICON): header, then one entry per image.
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colorCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
// An .ico file: header (as above), then one directory entry per image.
struct IconFileEntry {
  BYTE width;
  BYTE height;
  BYTE colorCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  DWORD offset;
};
#pragma pack(pop)

// An icon image's bytes (BITMAPINFOHEADER, palette, colour rows, mask rows).
struct IconImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  std::vector<BYTE> bytes;
};

// Bytes an icon image of this format takes with its AND mask.
size_t ExpectedImageSize(int width, int height, int bits) {
  const size_t colourRow = (width * bits + 31) / 32 * 4;
  const size_t maskRow = (width + 31) / 32 * 4;
  return sizeof(BITMAPINFOHEADER) + (size_t{1} << bits) * sizeof(RGBQUAD) + colourRow * height +
         maskRow * height;
}

// The image draws over white into a 32-bit top-down DIB; returns its pixels
// as 0xRRGGBB.
std::vector<COLORREF> DrawOverWhite(HICON icon, int size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  common::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  common::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  std::vector<COLORREF> pixels;
  if (!bitmap || !dc) return pixels;
  {
    common::SelectedObject selected(dc.get(), bitmap.get());
    RECT all{0, 0, size, size};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
  }
  const auto* raw = static_cast<const DWORD*>(bits);
  pixels.assign(raw, raw + size * size);
  for (auto& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_) << "cannot load " << std::string(ProgramPath().begin(), ProgramPath().end())
                          << " for its resources, error " << ::GetLastError();
  }
  common::UniqueModule program_ = LoadProgram();
};

// ---------------------------------------------------------------- version

class VersionBlock : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version block, error " << ::GetLastError();
    block_.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block_.data()));
  }

  // A string of the Japanese Unicode table, or "<missing>".
  std::wstring String(const wchar_t* name) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.data(), key.c_str(), &value, &length) || !value) return L"<missing>";
    return static_cast<const wchar_t*>(value);
  }

  std::vector<BYTE> block_;
};

// The version is the one in the VERSION file, e.g. 1.00 as 1,0,0,0.
TEST_F(VersionBlock, TheProductVersionWithAJapaneseUnicodeStringTable) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(TRAYLUME_VERSION_MINOR, TRAYLUME_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(TRAYLUME_VERSION_MINOR, TRAYLUME_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 1200);

  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"FileVersion", L"" TRAYLUME_VERSION_TEXT},
      {L"ProductVersion", L"" TRAYLUME_VERSION_TEXT},
      {L"ProductName", L"TraylumeSample"},
      {L"InternalName", L"TraylumeSample"},
      {L"OriginalFilename", L"TraylumeSample.exe"},
      // Japanese text survives the resource compiler intact (UTF-8 source).
      {L"FileDescription", L"Traylumeコントロール サンプルプログラム"},
  };
  for (const auto& [name, value] : strings) EXPECT_EQ(String(name), value);
}

// ---------------------------------------------------------------- program icon

using ProgramIcon = ProgramResources;

TEST_F(ProgramIcon, GroupOneHoldsThreeMaskedImagesThatDecodeAndDraw) {
  const std::vector<BYTE> group = ResourceBytes(program_.get(), MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
  ASSERT_GE(group.size(), sizeof(GroupIconHeader));
  const auto* header = reinterpret_cast<const GroupIconHeader*>(group.data());
  EXPECT_EQ(header->type, 1);
  ASSERT_EQ(header->count, 3);
  ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + 3 * sizeof(GroupIconEntry));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(group.data() + sizeof(GroupIconHeader));

  struct Format {
    int size;
    int bits;
  };
  const Format expected[] = {{32, 1}, {32, 4}, {16, 4}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const GroupIconEntry& entry = entries[i];
    EXPECT_EQ(entry.width, expected[i].size);
    EXPECT_EQ(entry.height, expected[i].size);
    EXPECT_EQ(entry.bitCount, expected[i].bits);
    EXPECT_EQ(entry.colorCount, 1 << expected[i].bits);
    EXPECT_EQ(entry.planes, 1);

    const std::vector<BYTE> image = ResourceBytes(program_.get(), MAKEINTRESOURCEW(entry.id), RT_ICON);
    ASSERT_EQ(image.size(), entry.bytesInRes);
    // The image carries its AND mask: twice the height, and the mask's rows.
    EXPECT_EQ(image.size(), ExpectedImageSize(expected[i].size, expected[i].size, expected[i].bits));
    BITMAPINFOHEADER info;
    std::memcpy(&info, image.data(), sizeof info);
    EXPECT_EQ(info.biWidth, expected[i].size);
    EXPECT_EQ(info.biHeight, 2 * expected[i].size);
    EXPECT_EQ(info.biBitCount, expected[i].bits);

    common::UniqueIcon icon(::CreateIconFromResourceEx(const_cast<BYTE*>(image.data()),
                                                       static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                                       expected[i].size, expected[i].size, LR_DEFAULTCOLOR));
    ASSERT_TRUE(icon) << "error " << ::GetLastError();
    if (expected[i].bits != 4) continue;

    // The 16-colour images: a white window with a cyan title bar and a grey
    // shadow on a transparent ground.
    const int size = expected[i].size;
    const std::vector<COLORREF> pixels = DrawOverWhite(icon.get(), size);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
    const auto count = [&](COLORREF colour) { return std::count(pixels.begin(), pixels.end(), colour); };
    EXPECT_GT(count(0x00FFFF), size * size / 20) << "cyan title bar";
    EXPECT_GT(count(0x808080), size * size / 40) << "grey shadow";
    EXPECT_GT(count(0xFFFFFF), size * size / 4) << "white window and transparent ground";
    EXPECT_EQ(pixels[0], 0xFFFFFFu) << "transparent corner";
    EXPECT_EQ(pixels[size * size - 1], 0xFFFFFFu) << "transparent corner";
  }
}

// ---------------------------------------------------------------- saved icon

using SavedIcon = ProgramResources;

TEST_F(SavedIcon, IsA766ByteIconFileWithOne32By32SixteenColourImage) {
  const std::vector<BYTE> file = ResourceBytes(program_.get(), MAKEINTRESOURCEW(IDR_SAVED_ICON), RT_RCDATA);
  ASSERT_EQ(file.size(), 766u);
  const auto* header = reinterpret_cast<const GroupIconHeader*>(file.data());
  EXPECT_EQ(header->reserved, 0);
  EXPECT_EQ(header->type, 1);
  ASSERT_EQ(header->count, 1);
  IconFileEntry entry;
  std::memcpy(&entry, file.data() + sizeof(GroupIconHeader), sizeof entry);
  EXPECT_EQ(entry.width, 32);
  EXPECT_EQ(entry.height, 32);
  EXPECT_EQ(entry.colorCount, 16);
  EXPECT_EQ(entry.bitCount, 4);
  EXPECT_EQ(entry.offset, 22u);
  EXPECT_EQ(entry.bytesInRes, 744u);  // 40 header + 64 palette + 512 colour + 128 mask
  BITMAPINFOHEADER info;
  std::memcpy(&info, file.data() + 22, sizeof info);
  EXPECT_EQ(info.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(info.biWidth, 32);
  EXPECT_EQ(info.biHeight, 64);
  EXPECT_EQ(info.biBitCount, 4);
  EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
}

TEST_F(SavedIcon, ShowsBlackRingGreySquaresAndAPointerOnATransparentGround) {
  std::vector<BYTE> file = ResourceBytes(program_.get(), MAKEINTRESOURCEW(IDR_SAVED_ICON), RT_RCDATA);
  ASSERT_EQ(file.size(), 766u);
  common::UniqueIcon icon(::CreateIconFromResourceEx(file.data() + 22, 744, TRUE, 0x00030000, 32, 32,
                                                     LR_DEFAULTCOLOR));
  ASSERT_TRUE(icon);
  const std::vector<COLORREF> pixels = DrawOverWhite(icon.get(), 32);
  ASSERT_EQ(pixels.size(), 32u * 32u);
  auto at = [&](int x, int y) { return pixels[y * 32 + x]; };
  // Squares of 4 x 4 at 2, 8, 14, 20, 26; the ground between them is transparent.
  const int origins[] = {2, 8, 14, 20, 26};
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      if (row == 0 && column == 4) continue;  // the pointer's place
      const bool outer = row == 0 || row == 4 || column == 0 || column == 4;
      const int x = origins[column], y = origins[row];
      SCOPED_TRACE("square " + std::to_string(row) + "," + std::to_string(column));
      EXPECT_EQ(at(x, y), outer ? 0x000000u : 0x808080u);
      EXPECT_EQ(at(x + 3, y + 3), outer ? 0x000000u : 0x808080u);
      EXPECT_EQ(at(x + 4, y + 4), 0xFFFFFFu);
    }
  }
  EXPECT_EQ(at(0, 0), 0xFFFFFFu);
  EXPECT_EQ(at(31, 31), 0xFFFFFFu);
  int tip = 0;
  for (int x = 24; x < 32; ++x) tip += at(x, 0) == 0x000000u || at(x, 1) == 0x000000u;
  EXPECT_GT(tip, 0) << "the pointer's black tip at the top edge";
}

TEST_F(SavedIcon, LoadsAsAnOlePictureOfTheControlsExtent) {
  ASSERT_EQ(::OleInitialize(nullptr), S_OK);
  {
    const std::vector<BYTE> file = ResourceBytes(program_.get(), MAKEINTRESOURCEW(IDR_SAVED_ICON), RT_RCDATA);
    ASSERT_EQ(file.size(), 766u);
    common::UniqueHGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, file.size()));
    ASSERT_TRUE(memory);
    std::memcpy(::GlobalLock(memory.get()), file.data(), file.size());
    ::GlobalUnlock(memory.get());
    common::ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(memory.get(), FALSE, stream.put()), S_OK);
    common::ComPtr<IPicture> picture;
    ASSERT_EQ(::OleLoadPicture(stream.get(), static_cast<LONG>(file.size()), FALSE, __uuidof(IPicture),
                               picture.put_void()),
              S_OK);
    SHORT type = PICTYPE_UNINITIALIZED;
    EXPECT_EQ(picture->get_Type(&type), S_OK);
    EXPECT_EQ(type, PICTYPE_ICON);
    // 32 pixels at 96 DPI in HIMETRIC: the 847 of the control's saved extent.
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    EXPECT_EQ(picture->get_Width(&width), S_OK);
    EXPECT_EQ(picture->get_Height(&height), S_OK);
    EXPECT_EQ(width, 847);
    EXPECT_EQ(height, 847);
    stream.reset();
    picture.reset();
  }
  ::OleUninitialize();
}

// ---------------------------------------------------------------- manifest

using Manifest = ProgramResources;

TEST_F(Manifest, AsksForCommonControlsSixDeclaresDpiAwarenessAndActivates) {
  const std::vector<BYTE> bytes =
      ResourceBytes(program_.get(), CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  ASSERT_FALSE(bytes.empty());
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find(">true</dpiAware>"), std::string::npos);
  // The program is not bound to the control by its manifest: registration-free
  // activation is chosen at run time, only when the control is not registered.
  EXPECT_EQ(text.find("Traylume.ocx"), std::string::npos);

  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
  const std::wstring path = ProgramPath();
  context.lpSource = path.c_str();
  common::UniqueActCtx activation(::CreateActCtxW(&context));
  EXPECT_TRUE(activation) << "the manifest does not parse, error " << ::GetLastError();
}

}  // namespace

// Loading an icon file into the control and the preview, and dropping file
// names onto txtIconName.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "app/texts.h"
#include "contract/traylume_contract.h"
#include "common/com_object.h"
#include "tests/app/form_fixture.h"
#include "tests/support/message_pump.h"

namespace app_tests {
namespace {

using app::Ctl;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr COLORREF kBlue = RGB(0, 0, 255);

std::wstring TempFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, path);
  return path;
}

void WriteFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A one-image .ico of `size` x `size` pixels, 32 bits per pixel, `color`
// where opaque; the right half transparent when `halfTransparent`.
std::vector<uint8_t> IconFile(int size, COLORREF color, bool halfTransparent = false) {
  const int maskStride = ((size + 31) / 32) * 4;
  const uint32_t imageBytes = 40 + size * size * 4 + maskStride * size;
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<uint8_t>(size));
  out.push_back(static_cast<uint8_t>(size));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageBytes);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(size));
  Put32(out, static_cast<uint32_t>(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool clear = halfTransparent && x >= size / 2;
      // Transparent pixels are all zero (colours are premultiplied by alpha).
      out.push_back(clear ? 0 : GetBValue(color));
      out.push_back(clear ? 0 : GetGValue(color));
      out.push_back(clear ? 0 : GetRValue(color));
      out.push_back(clear ? 0 : 0xFF);
    }
  }
  for (int y = 0; y < size; ++y) {
    for (int b = 0; b < maskStride; ++b) {
      uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = b * 8 + bit;
        if (halfTransparent && x >= size / 2 && x < size) bits |= static_cast<uint8_t>(0x80 >> bit);
      }
      out.push_back(bits);
    }
  }
  return out;
}

// A data object with either a wide file list or plain text.
class TestData : public common::ComObject<IDataObject> {
 public:
  TestData(std::vector<std::wstring> files, bool filesAsList) : files_(std::move(files)), asList_(filesAsList) {}

  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    std::vector<wchar_t> payload;
    size_t header = 0;
    if (asList_) {
      header = sizeof(DROPFILES);
      for (const std::wstring& file : files_) {
        payload.insert(payload.end(), file.begin(), file.end());
        payload.push_back(L'\0');
      }
      payload.push_back(L'\0');
    } else {
      payload.assign(files_[0].begin(), files_[0].end());
      payload.push_back(L'\0');
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, header + payload.size() * sizeof(wchar_t));
    auto* bytes = static_cast<uint8_t*>(::GlobalLock(memory));
    if (asList_) {
      auto* files = reinterpret_cast<DROPFILES*>(bytes);
      files->pFiles = sizeof(DROPFILES);
      files->fWide = TRUE;
    }
    memcpy(bytes + header, payload.data(), payload.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    const CLIPFORMAT offered = asList_ ? CF_HDROP : CF_UNICODETEXT;
    return format && format->cfFormat == offered && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::vector<std::wstring> files_;
  bool asList_;
};

class IconFile_ : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ShowForm();
    ASSERT_TRUE(PreviewIsAll(kFakeIconColor));
    fake->ClearLog();
    references_ = fake->References();
    folder_ = TempFolder();
  }
  void TearDown() override {
    for (const std::wstring& file : written_) ::DeleteFileW(file.c_str());
    if (fake) {
      EXPECT_EQ(fake->References(), references_);
    }
    FormTest::TearDown();
  }
  std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    const std::wstring path = folder_ + name;
    WriteFile(path, bytes);
    written_.push_back(path);
    return path;
  }
  void Load(const std::wstring& path) {
    ::SetWindowTextW(Control(Ctl::txtIconName), path.c_str());
    Click(Ctl::cmdLoad);
  }

  std::wstring folder_;
  std::vector<std::wstring> written_;
  ULONG references_ = 0;
};

TEST_F(IconFile_, A32By32AndA16By16IconFillTheSamePreviewAfterGoingThroughTheControl) {
  // A colour of its own for each, so the second cannot pass on the first's pixels.
  for (const auto& [size, color] : {std::pair{32, kBlue}, std::pair{16, RGB(0, 160, 0)}}) {
    SCOPED_TRACE(size);
    fake->ClearLog();
    Load(Write(L"traylume_icon" + std::to_wstring(size) + L".ico", IconFile(size, color)));
    EXPECT_THAT(Calls(), ElementsAre(L"putref Icon VT_DISPATCH", L"get Icon"));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(PreviewIsAll(color));
  }
}

TEST_F(IconFile_, TheOldPreviewIsClearedBeforeTheNewIconIsDrawn) {
  Load(Write(L"traylume_half.ico", IconFile(16, kBlue, true)));
  ASSERT_TRUE(messages.empty());
  SIZE size{};
  const std::vector<COLORREF> pixels = PreviewPixels(&size);
  EXPECT_EQ(pixels[static_cast<size_t>(5 * size.cx + 2)], kBlue);
  EXPECT_EQ(pixels[static_cast<size_t>(5 * size.cx + 12)], ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(IconFile_, ARelativePathIsTakenFromTheCurrentFolder) {
  Write(L"traylume_relative.ico", IconFile(32, kBlue));
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ::SetCurrentDirectoryW(folder_.c_str());
  Load(L"traylume_relative.ico");
  ::SetCurrentDirectoryW(previous);
  EXPECT_TRUE(messages.empty());
  EXPECT_THAT(Calls(), ElementsAre(L"putref Icon VT_DISPATCH", L"get Icon"));
}

TEST_F(IconFile_, AMissingFileOrOneThatIsNoPictureShowsOneMessageAndTouchesNothing) {
  const std::pair<std::wstring, const wchar_t*> files[] = {
      {folder_ + L"traylume_no_such_file.ico", app::texts::kFileNotFound},
      {Write(L"traylume_not_a_picture.ico", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'c', 'o', 'n'}),
       app::texts::kNotAPicture},
  };
  for (const auto& [path, reason] : files) {
    messages.clear();
    Load(path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].text, HasSubstr(path));
    EXPECT_THAT(messages[0].text, HasSubstr(reason));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(PreviewIsAll(kFakeIconColor));
  }
}

TEST_F(IconFile_, AnEmptyPathShowsOneMessage) {
  Load(std::wstring());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].text, HasSubstr(app::texts::kNoFileName));
  EXPECT_TRUE(Calls().empty());
}

TEST_F(IconFile_, AControlThatRefusesTheIconKeepsThePreview) {
  fake->FailOn(contract::dispid::kIcon, L"受け付けません。");
  Load(Write(L"traylume_refused.ico", IconFile(32, kBlue)));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].text, HasSubstr(L"受け付けません。"));
  EXPECT_THAT(Calls(), ElementsAre(L"putref Icon VT_DISPATCH"));
  EXPECT_TRUE(PreviewIsAll(kFakeIconColor));
}

TEST_F(IconFile_, DroppingThreeFilesPutsTheFirstPathOnly) {
  const std::wstring first = L"C:\\アイコン\\通知用.ico";
  auto data = common::make<TestData>(std::vector<std::wstring>{first, L"C:\\b.ico", L"C:\\c.ico"}, true);
  IDropTarget* target = form->iconNameDropTarget();
  ASSERT_TRUE(target);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  EXPECT_EQ(target->DragEnter(data.get(), MK_LBUTTON, {10, 10}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragOver(MK_LBUTTON, {12, 10}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->Drop(data.get(), 0, {12, 10}, &effect), S_OK);
  EXPECT_EQ(Text(Ctl::txtIconName), L"") << "handled inside Drop";
  testing_support::PumpPending();
  EXPECT_EQ(Text(Ctl::txtIconName), first);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(PreviewIsAll(kFakeIconColor));
}

TEST_F(IconFile_, ADragThatCarriesOnlyTextIsRefused) {
  ::SetWindowTextW(Control(Ctl::txtIconName), L"before.ico");
  auto data = common::make<TestData>(std::vector<std::wstring>{L"C:\\text.ico"}, false);
  IDropTarget* target = form->iconNameDropTarget();
  ASSERT_TRUE(target);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragEnter(data.get(), MK_LBUTTON, {10, 10}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragOver(MK_LBUTTON, {12, 10}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->Drop(data.get(), 0, {12, 10}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(Text(Ctl::txtIconName), L"before.ico");
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace app_tests

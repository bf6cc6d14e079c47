// Loading an icon file into Traylume1 and the preview; dropping onto txtIconName.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <utility>

#include "app/texts.h"
#include "common/module.h"
#include "common/text.h"
#include "tests/app/form_test.h"
#include "tests/support/pictures.h"

namespace app_tests {
namespace {

using IconFileTest = FormTest;
using Calls = std::vector<std::wstring>;

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH] = {};
  return std::wstring(folder, ::GetTempPathW(MAX_PATH, folder));
}

std::wstring WriteIconFile(const wchar_t* name, COLORREF color, int size, bool clearRightHalf = false) {
  const std::wstring path = TempFolder() + name;
  std::ofstream(path.c_str(), std::ios::binary) << support::SolidIconFile(color, size, clearRightHalf);
  return path;
}

// The calls a load makes are the handlers' test's.
TEST_F(IconFileTest, ThePreviewShowsTheLoadedIconAt16By16OnAClearedBox) {
  CreateForm(144);  // where the box is larger than the 16 x 16 preview
  const COLORREF blank = ::GetSysColor(COLOR_BTNFACE);
  const std::wstring path = WriteIconFile(L"プレビュー.ico", RGB(0, 0, 255), 32);  // drawn smaller
  SetText(Ctl::txtIconName, path);
  Click(Ctl::cmdLoad);
  EXPECT_TRUE(messages.empty());
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(Preview(x, y), RGB(0, 0, 255)) << x << "," << y;
  }
  EXPECT_EQ(Preview(16, 8), blank);
  EXPECT_EQ(Preview(8, 20), blank);
  ::DeleteFileW(path.c_str());
  // The box is cleared first: nothing of the earlier picture shows through.
  const std::wstring half = WriteIconFile(L"半分.ico", RGB(200, 0, 0), 16, true);
  SetText(Ctl::txtIconName, half);
  Click(Ctl::cmdLoad);
  EXPECT_EQ(Preview(4, 8), RGB(200, 0, 0));
  EXPECT_EQ(Preview(12, 8), blank);
  ::DeleteFileW(half.c_str());
}

TEST_F(IconFileTest, AFileThatCannotBeLoadedOrIsRefusedIsShownAndLeavesTheIconAlone) {
  CreateForm();
  const COLORREF before = Preview(8, 8);
  // Each way a file cannot be loaded, with its own reason, the file named.
  const std::wstring folder = TempFolder();
  const std::wstring words = folder + L"文章.ico";
  std::ofstream(words.c_str()) << "not a picture";
  const std::pair<std::wstring, const wchar_t*> cases[] = {{std::wstring(), app::texts::kNoFileName},
                                                            {L"C:\\どこにもない.ico", app::texts::kFileNotFound},
                                                            {folder, app::texts::kIsFolder},
                                                            {words, app::texts::kNotAPicture}};
  proxy->calls.clear();
  for (const auto& [name, reason] : cases) {
    messages.clear();
    SetText(Ctl::txtIconName, name);
    Click(Ctl::cmdLoad);
    ASSERT_EQ(messages.size(), 1u) << common::Utf8(name);
    EXPECT_NE(messages[0].find(reason), std::wstring::npos) << common::Utf8(messages[0]);
    EXPECT_NE(messages[0].find(name), std::wstring::npos) << common::Utf8(messages[0]);
  }
  EXPECT_TRUE(proxy->calls.empty());
  ::DeleteFileW(words.c_str());

  const std::wstring path = WriteIconFile(L"拒否.ico", RGB(0, 0, 255), 32);
  SetText(Ctl::txtIconName, path);
  proxy->Fail(L"Icon", CTL_E_INVALIDPICTURE);
  Click(Ctl::cmdLoad);
  EXPECT_EQ(proxy->calls, (Calls{L"putref Icon VT_DISPATCH"}));
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(Preview(8, 8), before);
  ::DeleteFileW(path.c_str());
}

// What a drag from elsewhere carries: `bytes` in `format`, by way of the
// clipboard, whose data object is the one OLE itself makes.
common::ComPtr<IDataObject> Dragged(UINT format, const std::wstring& bytes) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() * sizeof(wchar_t));
  std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  common::ComPtr<IDataObject> data;
  EXPECT_TRUE(::OpenClipboard(nullptr));
  EXPECT_TRUE(::EmptyClipboard());
  EXPECT_EQ(::SetClipboardData(format, memory), memory);
  EXPECT_TRUE(::CloseClipboard());
  EXPECT_EQ(::OleGetClipboard(data.put()), S_OK);
  return data;
}

TEST_F(IconFileTest, ADropPutsTheFirstFilesPathAfterTheDropHasReturnedAndNothingElse) {
  CreateForm();
  IDropTarget* target = form->iconNameDropTarget();
  ASSERT_TRUE(target);
  const COLORREF before = Preview(8, 8);
  SetText(Ctl::txtIconName, L"前.ico");
  // The effect DragEnter (and DragOver alike), then Drop answer to a drag
  // that offers copy or move.
  auto effects = [&](IDataObject* data) {
    DWORD entered = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    DWORD over = entered;
    DWORD dropped = entered;
    EXPECT_EQ(target->DragEnter(data, MK_LBUTTON, {1, 1}, &entered), S_OK);
    EXPECT_EQ(target->DragOver(MK_LBUTTON, {2, 2}, &over), S_OK);
    EXPECT_EQ(over, entered);
    EXPECT_EQ(target->Drop(data, 0, {1, 1}, &dropped), S_OK);
    return std::make_pair(entered, dropped);
  };
  const auto none = std::make_pair<DWORD, DWORD>(DROPEFFECT_NONE, DROPEFFECT_NONE);
  EXPECT_EQ(effects(Dragged(CF_UNICODETEXT, std::wstring(L"C:\\text.ico", 12)).get()), none)
      << "a drag without a file list is refused";
  DROPFILES header{sizeof(DROPFILES), {}, FALSE, TRUE};
  const std::wstring list(reinterpret_cast<const wchar_t*>(&header), sizeof header / sizeof(wchar_t));
  proxy->calls.clear();
  EXPECT_EQ(effects(Dragged(CF_HDROP, list + std::wstring(L"C:\\一\\最初.ico\0C:\\b.ico\0\0", 22)).get()),
            (std::make_pair<DWORD, DWORD>(DROPEFFECT_COPY, DROPEFFECT_COPY)));
  EXPECT_EQ(Text(Ctl::txtIconName), L"前.ico") << "handled inside Drop, where the drag source waits";
  effects(Dragged(CF_HDROP, list + std::wstring(L"C:\\二.ico\0D:\\x\0\0", 15)).get());
  PumpPending();
  EXPECT_EQ(Text(Ctl::txtIconName), L"C:\\二.ico") << "each drop's first file, the drops in turn";
  EXPECT_TRUE(messages.empty());
  DWORD moveOnly = DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragEnter(Dragged(CF_HDROP, list + std::wstring(L"C:\\c.ico\0\0", 10)).get(), MK_LBUTTON, {1, 1},
                              &moveOnly), S_OK);
  EXPECT_EQ(moveOnly, static_cast<DWORD>(DROPEFFECT_NONE)) << "a file name is only ever copied";
  EXPECT_EQ(target->DragLeave(), S_OK);
  effects(Dragged(CF_HDROP, list + std::wstring(L"\0\0", 2)).get());
  PumpPending();
  ASSERT_EQ(messages.size(), 1u) << "a file list without a file";
  EXPECT_NE(messages[0].find(app::texts::kNoDroppedFile), std::wstring::npos);
  EXPECT_EQ(Text(Ctl::txtIconName), L"C:\\二.ico");
  EXPECT_TRUE(proxy->calls.empty());
  EXPECT_EQ(Preview(8, 8), before);
}

}  // namespace
}  // namespace app_tests

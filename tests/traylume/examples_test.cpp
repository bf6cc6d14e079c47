// The C++ example prints exactly the lines the reference shows and ends with
// 0. (The script example runs against the installed control in the install test.)

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/module.h"
#include "tests/support/pictures.h"
#include "tests/support/program.h"
#include "traylume/tray_window.h"

namespace traylume_tests {
namespace {

// The block #tray-events-output of docs/reference.<language>.md, the same in
// both languages, read in the source tree (a Unix path through Wine's Z:).
std::vector<std::string> ShownOutput() {
  std::vector<std::string> shown[2];
  for (int i = 0; i < 2; ++i) {
    const std::string path = TRAYLUME_SOURCE_DIR "/docs/reference." + std::string(i ? "en" : "ja") + ".md";
    bool inside = false;
    for (const std::string& line : support::FileLines(path[0] == '/' ? "Z:" + path : path)) {
      if (inside && line == "```") break;
      if (inside) shown[i].push_back(line);
      inside = inside || (line.rfind("```", 0) == 0 && line.find("#tray-events-output ") != std::string::npos);
    }
  }
  EXPECT_FALSE(shown[0].empty()) << "no #tray-events-output";
  EXPECT_EQ(shown[0], shown[1]) << "not the same in both languages";
  return shown[0];
}

// The console program loads the control beside it; the shell's callbacks
// reach the control's window one at a time, each after the line of the one
// before, so the program must end at the left double-click and not before.
TEST(Examples, EventProgramPrintsWhatTheReferenceShowsAndEndsAtTheLeftDoubleClick) {
  const std::vector<std::string> shown = ShownOutput();
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring icon = std::wstring(folder) + L"tray_events_test.ico";
  std::ofstream(icon.c_str(), std::ios::binary) << support::SolidIconFile(RGB(0, 120, 215), 16);
  const std::wstring program = common::FolderOf(common::ModulePath(nullptr)) + L"\\tray_events.exe";

  support::Program events(L"\"" + program + L"\" \"" + icon + L"\"");
  // Ready once it said so: its control's window is up and its sink connected.
  const HWND window = events.WaitForWindow(traylume::kTrayWindowClass, [&] { return !events.Printed().empty(); });
  ASSERT_NE(window, nullptr) << "the program's control has no tray window";
  // Balloon, point, click, right double-click, balloon click, left double-click.
  const UINT callbacks[] = {NIN_BALLOONSHOW, WM_MOUSEMOVE,    WM_LBUTTONDOWN,       WM_LBUTTONUP,
                            WM_RBUTTONDOWN,  WM_RBUTTONUP,    WM_RBUTTONDBLCLK,     WM_RBUTTONUP,
                            NIN_BALLOONUSERCLICK, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
  ASSERT_EQ(shown.size(), std::size(callbacks) + 2) << "a line for the start, one per callback and one for the end";
  for (size_t i = 0; i + 1 < std::size(callbacks); ++i) {
    ASSERT_TRUE(::PostMessageW(window, traylume::kCallbackMessage, traylume::kIconId, callbacks[i])) << i;
    const std::vector<std::string> printed = events.PrintedOnce(i + 2);
    ASSERT_EQ(printed, std::vector<std::string>(shown.begin(), shown.begin() + i + 2)) << "after callback " << i;
  }
  ASSERT_TRUE(::PostMessageW(window, traylume::kCallbackMessage, traylume::kIconId, callbacks[std::size(callbacks) - 1]));
  EXPECT_EQ(events.ExitCode(), 0u);
  EXPECT_EQ(events.Printed(), shown);
  ::DeleteFileW(icon.c_str());
}

}  // namespace
}  // namespace traylume_tests

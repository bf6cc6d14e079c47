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
  EXPECT_TRUE(!shown[0].empty() && shown[0] == shown[1]) << "no #tray-events-output, or not the same in both languages";
  return shown[0];
}

// The console program loads the control beside it; the shell's callbacks
// are posted to the control's window as the shell would send them.
TEST(Examples, EventProgramPrintsWhatTheReferenceShows) {
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
  for (UINT message : {UINT{NIN_BALLOONSHOW}, UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP},
                       UINT{WM_RBUTTONDOWN}, UINT{WM_RBUTTONUP}, UINT{WM_RBUTTONDBLCLK}, UINT{WM_RBUTTONUP},
                       UINT{NIN_BALLOONUSERCLICK}, UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}, UINT{WM_LBUTTONDBLCLK}}) {
    ::PostMessageW(window, traylume::kCallbackMessage, traylume::kIconId, message);
  }
  EXPECT_EQ(events.ExitCode(), 0u);
  EXPECT_EQ(events.Printed(), shown);
  ::DeleteFileW(icon.c_str());
}

}  // namespace
}  // namespace traylume_tests

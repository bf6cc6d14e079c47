// The examples beside the program run as the reference says: each prints
// exactly the lines the reference shows for it (read from the reference,
// the same in both languages) and ends with exit code 0.

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/module.h"
#include "tests/support/control_server.h"
#include "tests/support/pictures.h"
#include "tests/support/program.h"
#include "tests/traylume/reference_text.h"
#include "traylume/tray_window.h"

namespace traylume_tests {
namespace {

// What the reference shows an example printing: the block `id`, which both
// languages must give alike.
std::vector<std::string> ShownOutput(const std::string& id) {
  std::vector<std::string> shown;
  for (const char* language : kLanguages) {
    const std::vector<std::string> block = FencedBlock(ReferenceLines(language), id);
    EXPECT_FALSE(block.empty()) << "reference." << language << ".md shows no block #" << id;
    if (shown.empty()) shown = block;
    EXPECT_EQ(block, shown) << "reference." << language << ".md shows #" << id << " otherwise";
  }
  return shown;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The script runs in the scripting host against the registered control.
TEST(Examples, ScriptPrintsWhatTheReferenceShows) {
  const std::vector<std::string> shown = ShownOutput("tray-balloon-output");
  // The prefix is shared with tests that need the control unregistered.
  struct Registration {
    Registration() { EXPECT_EQ(support::RegisterControl(), S_OK); }
    ~Registration() { support::UnregisterControl(); }
  } registration;
  support::Program script(L"cscript.exe //nologo \"" + Wide(SourcePath("examples/tray_balloon.vbs")) + L"\"");
  ASSERT_TRUE(script.started());
  EXPECT_EQ(script.ExitCode(), 0u);
  EXPECT_EQ(script.Printed(), shown);
}

// The console program loads the control beside it; the shell's callbacks
// are posted to the control's window as the shell would send them.
TEST(Examples, EventProgramPrintsWhatTheReferenceShows) {
  const std::vector<std::string> shown = ShownOutput("tray-events-output");
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring icon = std::wstring(folder) + L"tray_events_test.ico";
  std::ofstream(icon.c_str(), std::ios::binary) << support::SolidIconFile(RGB(0, 120, 215), 16);
  const std::wstring program = common::FolderOf(common::ModulePath(nullptr)) + L"\\tray_events.exe";

  support::Program events(L"\"" + program + L"\" \"" + icon + L"\"");
  ASSERT_TRUE(events.started());
  // Ready once it said so: its control's window is up and its sink connected.
  const HWND window = events.WaitForWindow(traylume::kTrayWindowClass, [&] { return !events.Printed().empty(); });
  ASSERT_NE(window, nullptr) << "the program's control has no tray window";
  // The balloon appears; the user points at the icon, clicks it, double-
  // clicks it with the right button, clicks the balloon and double-clicks
  // the icon with the left button.
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

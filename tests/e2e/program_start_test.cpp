// The real program with the real control: it starts with the control
// registered and without it (registration-free), shows its window, and a
// WM_CLOSE ends it with exit code 0.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/control_registration.h"
#include "tests/e2e/e2e_paths.h"
#include "tests/e2e/window_driver.h"

namespace e2e {
namespace {

constexpr DWORD kWindowMs = 15000;
constexpr DWORD kExitMs = 10000;
constexpr wchar_t kTitle[] = L"Traylumeコントロール サンプルプログラム";

// Starts the program, waits for its window, checks it, closes it and checks
// the exit code; returns the control files the program had loaded.
std::vector<std::wstring> RunAndClose() {
  ChildProcess program;
  const HRESULT started = program.Start(L"\"" + ProgramPath() + L"\"");
  EXPECT_EQ(started, S_OK) << "cannot start " << Utf8(ProgramPath());
  if (FAILED(started)) return {};

  const HWND form = WaitForProgramWindow(program, app::kForm1Class, kWindowMs);
  const bool shown = form != nullptr;
  EXPECT_TRUE(shown) << "no window; the program says: " << Utf8(DialogTexts(program.id()))
                     << (program.running() ? "" : " (it has ended)");
  if (!shown) return {};
  EXPECT_TRUE(::IsWindowVisible(form));
  EXPECT_EQ(WindowText(form), kTitle);
  EXPECT_EQ(DialogTexts(program.id()), L"") << "the program reports a failure";
  const std::vector<std::wstring> controls = LoadedModulePaths(program.id(), L"Traylume.ocx");

  EXPECT_TRUE(::PostMessageW(form, WM_CLOSE, 0, 0));
  const auto exitCode = program.WaitForExit(kExitMs);
  EXPECT_TRUE(exitCode.has_value()) << "still running after WM_CLOSE; it says: "
                                    << Utf8(DialogTexts(program.id()));
  if (exitCode) {
    EXPECT_EQ(*exitCode, 0u);
  }
  return controls;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

TEST(ProgramStart, WithoutRegistrationUsesTheControlNextToTheProgram) {
  ControlServer control(ControlPath());
  ASSERT_EQ(control.loaded(), S_OK) << Utf8(ControlPath());
  control.Unregister();
  ASSERT_FALSE(ProgIdRegistered()) << "the control is still registered";

  const std::vector<std::wstring> loaded = RunAndClose();
  ASSERT_EQ(loaded.size(), 1u) << "the program should have loaded one Traylume.ocx";
  for (const auto& path : loaded) {
    EXPECT_EQ(::lstrcmpiW(Folder(path).c_str(), BinFolder().c_str()), 0) << Utf8(path);
  }
}

TEST(ProgramStart, RegisteredUsesTheRegisteredControl) {
  // A copy in a folder of its own, registered: the program must take the
  // registered file, not the one next to it.
  const std::wstring folder = MakeScratchFolder();
  ASSERT_FALSE(folder.empty());
  const std::wstring copy = folder + L"Traylume.ocx";
  ASSERT_TRUE(::CopyFileW(ControlPath().c_str(), copy.c_str(), FALSE));
  {
    ControlServer control(copy);
    ASSERT_EQ(control.loaded(), S_OK);
    ScopedRegistration registration(control);
    ASSERT_EQ(registration.result(), S_OK);
    ASSERT_TRUE(ProgIdRegistered());

    const std::vector<std::wstring> loaded = RunAndClose();
    ASSERT_EQ(loaded.size(), 1u) << "the program should have loaded one Traylume.ocx";
    for (const auto& path : loaded) {
      EXPECT_EQ(::lstrcmpiW(path.c_str(), copy.c_str()), 0) << Utf8(path);
    }
  }
  EXPECT_FALSE(ProgIdRegistered()) << "unregistering left the ProgID behind";
  ::DeleteFileW(copy.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace e2e

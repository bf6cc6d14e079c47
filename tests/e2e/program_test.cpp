// The real program with the real control: it finds the control registered
// or, failing that, beside itself without registration, and a WM_CLOSE ends
// it with 0; with neither, it says so and ends with 1.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "contract/traylume_contract.h"
#include "tests/e2e/driver.h"
#include "tests/support/control_server.h"

namespace e2e {
namespace {

constexpr wchar_t kProgram[] = L"TraylumeSample.exe";

// A new empty folder for copies of the program's files.
std::wstring ScratchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// Runs the program in `folder` until its window shows, closes it, and gives
// the control files it had loaded.
std::vector<std::wstring> RunAndClose(const std::wstring& folder) {
  Program program;
  const HWND form = program.Start(folder + L"\\" + kProgram, app::kForm1Class);
  EXPECT_TRUE(form) << "no window; the program says: " << Utf8(program.Dialogs());
  if (!form) return {};
  EXPECT_EQ(program.Dialogs(), L"");
  const auto loaded = program.Modules(contract::kFileName);
  ::PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(kAnswerMs), std::optional<DWORD>(0));
  return loaded;
}

TEST(ProgramRoutes, WithoutRegistrationTheControlBesideTheProgramIsUsed) {
  support::UnregisterControl();
  const auto loaded = RunAndClose(BinFolder());
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(::lstrcmpiW(loaded[0].c_str(), support::ControlPath().c_str()), 0) << Utf8(loaded[0]);
}

TEST(ProgramRoutes, TheRegisteredControlComesFirst) {
  // A registered copy elsewhere: the program takes it, not the file beside it.
  const std::wstring folder = ScratchFolder(L"registered");
  const std::wstring copy = folder + L"\\" + contract::kFileName;
  ASSERT_TRUE(::CopyFileW(support::ControlPath().c_str(), copy.c_str(), FALSE));
  {
    common::UniqueModule registered(::LoadLibraryW(copy.c_str()));
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = [&](const char* name) {
      return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(::GetProcAddress(registered.get(), name)));
    };
    ASSERT_EQ(entry("DllRegisterServer")(), S_OK);
    const auto loaded = RunAndClose(BinFolder());
    EXPECT_EQ(entry("DllUnregisterServer")(), S_OK);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(::lstrcmpiW(loaded[0].c_str(), copy.c_str()), 0) << Utf8(loaded[0]);
  }
  ::DeleteFileW(copy.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

TEST(ProgramRoutes, WithNeitherTheProgramSaysWhatItTriedAndEndsWith1) {
  support::UnregisterControl();
  const std::wstring folder = ScratchFolder(L"alone");
  const std::wstring program = folder + L"\\" + kProgram;
  ASSERT_TRUE(::CopyFileW((BinFolder() + L"\\" + kProgram).c_str(), program.c_str(), FALSE));
  {
    Program alone;
    EXPECT_FALSE(alone.Start(program, app::kForm1Class));
    std::wstring said;
    WaitUntil([&] { return (said = alone.Dialogs()).find(contract::kProgId) != std::wstring::npos; }, kAnswerMs);
    EXPECT_NE(said.find(contract::kProgId), std::wstring::npos) << Utf8(said);
    EXPECT_NE(said.find(contract::kFileName), std::wstring::npos) << Utf8(said);
    EXPECT_NE(said.find(L"0x80070002"), std::wstring::npos) << "the file's own reason: " << Utf8(said);
    alone.CloseWindows();
    EXPECT_EQ(alone.WaitForExit(kAnswerMs), std::optional<DWORD>(1));
  }
  ::DeleteFileW(program.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace e2e

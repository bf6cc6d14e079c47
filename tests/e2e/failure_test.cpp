// The real program where the control is neither registered nor beside it:
// one message names the ProgID, the file and each way tried with its
// reason, and the program ends with 1. (The other routes are tried by the
// install test and the headless demo.)
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "common/module.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/support/control_server.h"

namespace {

// The texts of the message boxes of process `id`.
struct Dialogs {
  DWORD id;
  std::wstring texts;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  auto* dialogs = reinterpret_cast<Dialogs*>(context);
  DWORD owner = 0;
  wchar_t name[16] = {}, text[1024] = {};
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == dialogs->id && ::GetClassNameW(window, name, 16) && std::wstring(name) == L"#32770" &&
      ::GetWindowTextW(::GetDlgItem(window, 0xFFFF), text, 1024) > 0) {  // once it has its text
    dialogs->texts += text;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

TEST(ProgramWithoutItsControl, SaysWhatItTriedAndEndsWith1) {
  support::UnregisterControl();
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring program = std::wstring(temp) + L"TraylumeSample-alone.exe";
  ASSERT_TRUE(::CopyFileW((common::FolderOf(common::ModulePath(nullptr)) + L"\\TraylumeSample.exe").c_str(),
                          program.c_str(), FALSE));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + program + L"\"";
  ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  ::CloseHandle(info.hThread);
  const common::UniqueKernelHandle process(info.hProcess);
  Dialogs dialogs{info.dwProcessId, {}};
  for (int i = 0; i < 300 && dialogs.texts.empty(); ++i) {
    ::Sleep(50);
    ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&dialogs));
  }
  EXPECT_NE(dialogs.texts.find(contract::kProgId), std::wstring::npos) << common::Utf8(dialogs.texts);
  EXPECT_NE(dialogs.texts.find(contract::kFileName), std::wstring::npos);
  EXPECT_NE(dialogs.texts.find(L"0x800401F3"), std::wstring::npos) << "the registered class's own reason";
  EXPECT_NE(dialogs.texts.find(L"0x80070002"), std::wstring::npos) << "the file's own reason";
  DWORD exitCode = 0;
  if (::WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 255);
  ::GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 1u);
  ::DeleteFileW(program.c_str());
}

}  // namespace

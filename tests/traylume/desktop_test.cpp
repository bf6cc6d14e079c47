// End to end in a Wine virtual desktop, which has a task bar with a real
// notification area: ShowIcon puts the icon there (found by its colour on
// the screen), HideIcon takes it away, a "TaskbarCreated" broadcast brings
// back an icon the shell has lost, and the control's final release removes
// it. The test starts itself again inside the desktop; that run writes its
// verdict to a file that this run reads.

#include <gtest/gtest.h>

#include <ole2.h>

#include <cstdlib>
#include <string>

#include "common/bstr.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/support/com_test.h"
#include "tests/support/message_pump.h"
#include "tests/traylume/ocx_server.h"
#include "tests/support/test_pictures.h"

namespace traylume_tests {

using testing_support::PumpUntil;
namespace {

namespace dispid = contract::dispid;
using testing_support::SolidIconPicture;

constexpr const wchar_t kVerdictVariable[] = L"TRAYLUME_DESKTOP_VERDICT";
// A colour nothing else on Wine's task bar has.
constexpr COLORREF kMarker = RGB(0xE0, 0x20, 0xB0);
// The notification area: the right end of the task bar at the bottom.
constexpr int kAreaWidth = 96;
constexpr int kAreaHeight = 40;
constexpr int kVisible = 40;  // marker pixels that make a 16 x 16 icon "seen"
constexpr DWORD kWaitMs = 5000;

bool RunningOnWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return std::wstring(value, length < MAX_PATH * 2 ? length : 0);
}

// Pixels of the marker colour in the bottom right corner of the screen.
int MarkerPixels() {
  const int left = ::GetSystemMetrics(SM_CXSCREEN) - kAreaWidth;
  const int top = ::GetSystemMetrics(SM_CYSCREEN) - kAreaHeight;
  common::WindowDc screen(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kAreaWidth;
  info.bmiHeader.biHeight = -kAreaHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  common::UniqueBitmap copy(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  if (!copy || !dc || !bits) return -1;
  common::SelectedObject selected(dc.get(), copy.get());
  if (!::BitBlt(dc.get(), 0, 0, kAreaWidth, kAreaHeight, screen.get(), left, top, SRCCOPY)) return -1;
  ::GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(bits);
  int count = 0;
  for (int i = 0; i < kAreaWidth * kAreaHeight; ++i) {
    const DWORD p = pixels[i];
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (std::abs(r - GetRValue(kMarker)) <= 6 && std::abs(g - GetGValue(kMarker)) <= 6 &&
        std::abs(b - GetBValue(kMarker)) <= 6) {
      ++count;
    }
  }
  return count;
}

bool IconSeen() {
  return PumpUntil([] { return MarkerPixels() >= kVisible; }, kWaitMs);
}

bool IconGone() {
  return PumpUntil([] { return MarkerPixels() == 0; }, kWaitMs);
}

// The steps inside the desktop; the first failure, or an empty text.
std::string ShowHideAndComeBack() {
  if (MarkerPixels() != 0) return "the marker colour is on the screen before the test";
  common::ComPtr<IDispatch> control;
  if (FAILED(OcxServer::Get().Create(&control))) return "the control could not be created";
  auto picture = SolidIconPicture(kMarker, 16);
  if (PutRef(control.get(), dispid::kIcon, Object(picture.get())).hr != S_OK) return "Icon refused the picture";
  common::UniqueBstr tip(L"仮想デスクトップのテストです。");
  Put(control.get(), dispid::kToolTipText, Text(tip.get()));

  if (Call(control.get(), dispid::kShowIcon).hr != S_OK) return "ShowIcon failed";
  if (!IconSeen()) return "ShowIcon: the icon did not appear in the notification area";
  if (Call(control.get(), dispid::kHideIcon).hr != S_OK) return "HideIcon failed";
  if (!IconGone()) return "HideIcon: the icon stayed in the notification area";

  if (Call(control.get(), dispid::kShowIcon).hr != S_OK) return "ShowIcon failed the second time";
  if (!IconSeen()) return "ShowIcon: the icon did not appear again";
  // The shell forgets the icon behind the control's back, as a restarted
  // shell does; then it announces itself.
  const auto windows = TrayWindowsOfThisThread();
  if (windows.size() != 1) return "expected one tray window of the control";
  NOTIFYICONDATAW forget{};
  forget.cbSize = sizeof(forget);
  forget.hWnd = windows[0];
  forget.uID = 1;
  if (!::Shell_NotifyIconW(NIM_DELETE, &forget)) return "the shell did not know the control's icon";
  if (!IconGone()) return "the icon deleted behind the control's back stayed";
  ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  if (!IconSeen()) return "TaskbarCreated: the control did not add its icon again";

  control.reset();
  picture.reset();
  if (!IconGone()) return "the icon outlived its control";
  if (OcxServer::Get().CanUnloadNow() != S_OK) return "an object of Traylume.ocx is still alive";
  return {};
}

bool WriteVerdict(const std::wstring& path, const std::string& text) {
  common::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string ReadVerdict(const std::wstring& path) {
  common::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "no verdict: the run inside the desktop did not finish";
  char buffer[1024] = {};
  DWORD read = 0;
  ::ReadFile(file.get(), buffer, sizeof(buffer) - 1, &read, nullptr);
  return std::string(buffer, read);
}

using TrayInVirtualDesktop = testing_support::ComTest;

TEST_F(TrayInVirtualDesktop, ShowIconHideIconAndTaskbarCreatedInTheRealNotificationArea) {
  const std::wstring verdictPath = Variable(kVerdictVariable);
  if (!verdictPath.empty()) {  // the run inside the desktop
    const std::string failure = ShowHideAndComeBack();
    WriteVerdict(verdictPath, failure.empty() ? "PASS" : failure);
    EXPECT_EQ(failure, "");
    return;
  }
  if (!RunningOnWine()) GTEST_SKIP() << "needs Wine's virtual desktop (explorer /desktop)";

  const std::wstring verdict = ProgramDirectory() + L"\\traylume_desktop_verdict.txt";
  ::DeleteFileW(verdict.c_str());
  wchar_t self[MAX_PATH * 2] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::wstring command = L"explorer.exe /desktop=TraylumeTest" + std::to_wstring(::GetCurrentProcessId()) +
                         L",1024x768 \"" + self + L"\" --gtest_filter=TrayInVirtualDesktop.*";
  ::SetEnvironmentVariableW(kVerdictVariable, verdict.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const BOOL started =
      ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  ::SetEnvironmentVariableW(kVerdictVariable, nullptr);
  ASSERT_TRUE(started) << "explorer.exe /desktop did not start: " << ::GetLastError();
  common::UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  // The desktop closes when the run inside it ends (a few seconds at most).
  const DWORD waited = ::WaitForSingleObject(processHandle.get(), 30000);
  if (waited != WAIT_OBJECT_0) ::TerminateProcess(processHandle.get(), 1);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the desktop did not close";
  EXPECT_EQ(ReadVerdict(verdict), "PASS");
  ::DeleteFileW(verdict.c_str());
}

}  // namespace
}  // namespace traylume_tests

#include "tests/support/system_hooks.h"

#include <cwchar>

#include "common/unique_handle.h"

namespace support {
namespace {

SystemHooks* active = nullptr;

// A bitmap can be selected into one device context at a time: one that a
// new one does not take is selected elsewhere.
bool SelectedElsewhere(HBITMAP bitmap) {
  if (!bitmap) return false;
  common::UniqueMemoryDc probe(::CreateCompatibleDC(nullptr));
  const HGDIOBJ previous = ::SelectObject(probe.get(), bitmap);
  if (!previous) return true;
  ::SelectObject(probe.get(), previous);
  return false;
}

}  // namespace

SystemHooks::SystemHooks(HMODULE module)
    : metrics_(module, "user32.dll", "GetSystemMetrics", reinterpret_cast<void*>(&Metrics)),
      findWindow_(module, "user32.dll", "FindWindowW", reinterpret_cast<void*>(&FindWindowHook)),
      createIcon_(module, "user32.dll", "CreateIconIndirect", reinterpret_cast<void*>(&CreateIconHook)),
      getDIBits_(module, "gdi32.dll", "GetDIBits", reinterpret_cast<void*>(&GetDIBitsHook)) {
  active = this;
}

SystemHooks::~SystemHooks() { active = nullptr; }

int WINAPI SystemHooks::Metrics(int index) {
  if (index == SM_CXSMICON) return active->smallIcon.cx;
  if (index == SM_CYSMICON) return active->smallIcon.cy;
  return active->metrics_.original<decltype(&::GetSystemMetrics)>()(index);
}

HWND WINAPI SystemHooks::FindWindowHook(LPCWSTR className, LPCWSTR title) {
  const bool taskBarAsked = !IS_INTRESOURCE(className) && std::wcscmp(className, L"Shell_TrayWnd") == 0;
  if (taskBarAsked && !active->taskBar) {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return active->findWindow_.original<decltype(&::FindWindowW)>()(className, title);
}

HICON WINAPI SystemHooks::CreateIconHook(PICONINFO parts) {
  if (parts && (SelectedElsewhere(parts->hbmColor) || SelectedElsewhere(parts->hbmMask))) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return active->createIcon_.original<decltype(&::CreateIconIndirect)>()(parts);
}

int WINAPI SystemHooks::GetDIBitsHook(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
                                      UINT usage) {
  if (SelectedElsewhere(bitmap)) return 0;
  return active->getDIBits_.original<decltype(&::GetDIBits)>()(dc, bitmap, start, lines, bits, info, usage);
}

}  // namespace support

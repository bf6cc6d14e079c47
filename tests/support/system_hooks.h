#pragma once
// While SystemHooks live, what a module asks of the system is answered as
// the test sets it: the small icon size (as at another display scale),
// whether the shell's task bar exists, and Windows' rule that a bitmap
// selected into a device context cannot make an icon or be read (Wine
// allows both).

#include <windows.h>

#include "tests/support/import_hook.h"

namespace support {

class SystemHooks {
 public:
  explicit SystemHooks(HMODULE module);
  SystemHooks(const SystemHooks&) = delete;
  SystemHooks& operator=(const SystemHooks&) = delete;
  ~SystemHooks();

  bool installed() const { return metrics_.installed() && findWindow_.installed() && createIcon_.installed(); }

  SIZE smallIcon{16, 16};  // SM_CXSMICON and SM_CYSMICON
  bool taskBar = true;     // whether FindWindow finds "Shell_TrayWnd"

 private:
  static int WINAPI Metrics(int index);
  static HWND WINAPI FindWindowHook(LPCWSTR className, LPCWSTR title);
  static HICON WINAPI CreateIconHook(PICONINFO parts);
  static int WINAPI GetDIBitsHook(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
                                  UINT usage);

  ImportHook metrics_;
  ImportHook findWindow_;
  ImportHook createIcon_;
  ImportHook getDIBits_;  // installed only where the module reads bitmaps
};

}  // namespace support

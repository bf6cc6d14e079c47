#pragma once
// A recording stand-in for a Traylume control, for tests of the program.
// It answers what a form host and the program use (IDispatch by dispatch
// id, IPersistPropertyBag, IOleObject, IProvideClassInfo2,
// IConnectionPointContainer) and writes every call it receives, in order,
// as one line of text to its log, so a test can assert the exact sequence:
//
//   "bag _extentx VT_I4 847"            one per key read in Load, in order
//   "bag icon VT_DISPATCH"              (a picture; "VT_EMPTY" etc. if not)
//   "bag tooltiptext VT_BSTR ツールチップのテストです。"
//   "let BalloonIcon VT_I4 0"           DISPATCH_PROPERTYPUT
//   "let ToolTipText VT_BSTR a\r\nb"    strings verbatim (CR LF stay as is)
//   "let Balloon VT_BOOL -1"            Booleans as -1 / 0
//   "putref Icon VT_DISPATCH"           DISPATCH_PROPERTYPUTREF
//   "get BalloonSupported"              DISPATCH_PROPERTYGET
//   "get Icon"
//   "call ShowIcon"                     DISPATCH_METHOD
//   "setclientsite", "setclientsite null", "close", "advise", "unadvise"
//
// Members are named by their dispatch id (the fake never uses names to
// dispatch). Values for "get": BalloonSupported is `balloonSupported`, Icon
// is the last picture put by reference, else `icon` (a 32 x 32 picture the
// fake makes, filled with `iconColor`, unless a test replaces it).

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/com_object.h"

namespace fakes {

class FakeTraylume;

// Makes a fake with a solid 32 x 32 icon picture of `iconColor`.
common::ComPtr<FakeTraylume> MakeFakeTraylume(COLORREF iconColor = RGB(255, 0, 0));

class FakeTraylume
    : public common::ComObject<IDispatch, IPersistPropertyBag, IOleObject, IProvideClassInfo2,
                               IConnectionPointContainer> {
 public:
  // What the fake has received, one line per call (format above).
  std::vector<std::wstring> log;
  // Forgets what was logged so far (for tests of one handler).
  void ClearLog() { log.clear(); }

  bool balloonSupported = true;
  common::ComPtr<IPictureDisp> icon;  // answered by "get Icon"
  bool iconIsEmpty = false;           // "get Icon" answers VT_EMPTY (no picture)

  // Makes the access to `dispid` fail with DISP_E_EXCEPTION and an EXCEPINFO
  // whose description is `description`.
  void FailOn(DISPID dispid, std::wstring description);

  // Raises event `dispid` (1..7) to every advised sink; `button` is passed
  // as VT_I2|VT_BYREF, or as VT_I2 by value when `byReference` is false.
  void Fire(DISPID dispid, std::optional<short> button = std::nullopt, bool byReference = true);

  // Number of sinks advised now.
  size_t SinkCount() const;

  // The fake's own reference count, for leak checks: AddRef + Release.
  ULONG References();

  // (IDispatch, IPersistPropertyBag, IOleObject, IProvideClassInfo2 and
  // IConnectionPointContainer methods are declared in the .cpp's class body
  // through this header; see fake_traylume.cpp.)
 protected:
  FakeTraylume();
  ~FakeTraylume() override;
  friend common::ComPtr<FakeTraylume> MakeFakeTraylume(COLORREF);
};

}  // namespace fakes

#pragma once
// Typed calls to a Traylume control over IDispatch::Invoke, by dispatch id,
// with the automation types the control expects (VT_BOOL -1/0, VT_BSTR,
// VT_I4, VT_DISPATCH by reference for Icon). Works with any object that
// honours those ids, not only our own Traylume.ocx.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <string_view>

#include "common/com_ptr.h"
#include "common/com_result.h"

namespace component {

class Traylume {
 public:
  Traylume() = default;
  explicit Traylume(common::ComPtr<IDispatch> control) : control_(std::move(control)) {}

  common::ComResult GetBalloonSupported(bool* supported) const;
  common::ComResult PutBalloonText(std::wstring_view text) const;
  common::ComResult PutAutoRefresh(bool on) const;
  common::ComResult PutBalloonSound(bool on) const;
  common::ComResult PutBalloon(bool on) const;
  common::ComResult PutBalloonTitle(std::wstring_view text) const;
  common::ComResult PutToolTipText(std::wstring_view text) const;
  common::ComResult PutBalloonIcon(long kind) const;
  // Reads Icon and takes the result as a picture.
  common::ComResult GetIcon(common::ComPtr<IPictureDisp>* picture) const;
  // Sets Icon by reference (DISPATCH_PROPERTYPUTREF, VT_DISPATCH).
  common::ComResult PutRefIcon(IPictureDisp* picture) const;
  common::ComResult Refresh() const;
  common::ComResult ShowIcon() const;
  common::ComResult HideIcon() const;

  IDispatch* get() const { return control_.get(); }

 private:
  common::ComPtr<IDispatch> control_;
};

}  // namespace component

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
#include "component/com_result.h"

namespace traylume {

class Traylume {
 public:
  Traylume() = default;
  explicit Traylume(common::ComPtr<IDispatch> control) : control_(std::move(control)) {}

  ComResult GetBalloonSupported(bool* supported) const;
  ComResult PutBalloonText(std::wstring_view text) const;
  ComResult PutAutoRefresh(bool on) const;
  ComResult PutBalloonSound(bool on) const;
  ComResult PutBalloon(bool on) const;
  ComResult PutBalloonTitle(std::wstring_view text) const;
  ComResult PutToolTipText(std::wstring_view text) const;
  ComResult PutBalloonIcon(long kind) const;
  // Reads Icon and takes the result as a picture.
  ComResult GetIcon(common::ComPtr<IPictureDisp>* picture) const;
  // Sets Icon by reference (DISPATCH_PROPERTYPUTREF, VT_DISPATCH).
  ComResult PutRefIcon(IPictureDisp* picture) const;
  ComResult Refresh() const;
  ComResult ShowIcon() const;
  ComResult HideIcon() const;

  IDispatch* get() const { return control_.get(); }

 private:
  common::ComPtr<IDispatch> control_;
};

}  // namespace traylume

#pragma once
// Hosts one Traylume control the way a form does: client site, saved state
// from a property bag, an event sink on the control's default source
// interface, and an ordered teardown.

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <string>

#include "common/com_ptr.h"
#include "common/com_result.h"
#include "component/saved_state.h"
#include "component/traylume_client.h"
#include "component/traylume_events.h"

namespace component {

class HostSite;
class EventSink;

class TraylumeHost {
 public:
  TraylumeHost();
  TraylumeHost(const TraylumeHost&) = delete;
  TraylumeHost& operator=(const TraylumeHost&) = delete;
  ~TraylumeHost();  // calls Close()

  // Takes `control` (any IUnknown that answers IDispatch), gives it a client
  // site (first, where its misc status asks for that), loads `state` through
  // IPersistPropertyBag, and advises `events` on its default source
  // interface (IProvideClassInfo2, falling back to the class's type info).
  // `window` is the form that the site reports as its window. With `events`
  // null no sink is advised. A failure names the step that failed; the steps
  // done before it stay done (control() works once the control answered
  // IDispatch) and Close() undoes them. Attaching again closes first.
  common::ComResult Attach(common::ComPtr<IUnknown> control, const SavedState& state, HWND window,
                   TraylumeEvents* events);

  // Unadvise, close the control, clear its client site and release it, so
  // its final release happens now. Safe to call more than once.
  void Close();

  const Traylume& control() const { return control_; }
  // Whether a control is held (Attach was called and Close was not).
  bool attached() const { return static_cast<bool>(unknown_); }

 private:
  common::ComPtr<IUnknown> unknown_;
  Traylume control_;
  common::ComPtr<IOleObject> oleObject_;  // optional: not every control has one
  common::ComPtr<HostSite> site_;
  bool siteGiven_ = false;  // SetClientSite(site_) succeeded
  common::ComPtr<EventSink> sink_;
  common::ComPtr<IConnectionPoint> connection_;
  DWORD cookie_ = 0;
};

}  // namespace component

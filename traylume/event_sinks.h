#pragma once
// The sinks advised on the control's event interface, and raising an event
// to each of them.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <optional>
#include <vector>

#include "common/com_ptr.h"

namespace traylume {

class EventSinks {
 public:
  struct Connection {
    DWORD cookie;
    common::ComPtr<IDispatch> sink;
  };

  explicit EventSinks(const IID& eventInterface) : eventInterface_(eventInterface) {}

  const IID& eventInterface() const { return eventInterface_; }

  // Takes the sink's event interface (or its IDispatch) and hands out a cookie.
  HRESULT Advise(IUnknown* sink, DWORD* cookie);
  HRESULT Unadvise(DWORD cookie);
  const std::vector<Connection>& connections() const { return connections_; }

  // Calls event `id` on every sink, synchronously. `button`, when given, is
  // passed as VT_I2 | VT_BYREF; each sink sees the original value. Sinks may
  // unadvise (themselves or others) while it runs: those not yet called are
  // skipped. The caller keeps the owner alive for the duration.
  void Raise(DISPID id, std::optional<short> button);

 private:
  bool IsAdvised(DWORD cookie) const;

  IID eventInterface_;
  std::vector<Connection> connections_;
  DWORD nextCookie_ = 1;
};

}  // namespace traylume

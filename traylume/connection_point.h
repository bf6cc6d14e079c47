#pragma once
// The control's one connection point, for its event interface. It keeps
// its container alive, so it never outlives the sink list it serves.

#include <windows.h>
#include <ocidl.h>

#include "common/com_object.h"
#include "traylume/event_sinks.h"
#include "traylume/home_thread.h"

namespace traylume {

class ConnectionPoint final : public common::ComObject<IConnectionPoint> {
 public:
  ConnectionPoint(common::ComPtr<IConnectionPointContainer> container, EventSinks* sinks)
      : container_(std::move(container)), sinks_(sinks) {}

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

 private:
  common::ComPtr<IConnectionPointContainer> container_;
  EventSinks* sinks_;
  HomeThread home_;  // its container's, where it is made
};

// IEnumConnectionPoints over `point` alone.
HRESULT EnumerateConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** points);

}  // namespace traylume

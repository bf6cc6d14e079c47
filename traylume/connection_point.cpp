#include "traylume/connection_point.h"

#include <vector>

#include "traylume/snapshot_enumerator.h"

namespace traylume {
namespace {

struct StoredConnection {
  common::ComPtr<IUnknown> sink;
  DWORD cookie;
};

void CopyConnection(const StoredConnection& from, CONNECTDATA* to) {
  from.sink.CopyTo(&to->pUnk);
  to->dwCookie = from.cookie;
}

void CopyPoint(const common::ComPtr<IConnectionPoint>& from, IConnectionPoint** to) { from.CopyTo(to); }

using ConnectionEnumerator = SnapshotEnumerator<IEnumConnections, CONNECTDATA, StoredConnection>;
using PointEnumerator =
    SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*, common::ComPtr<IConnectionPoint>>;

}  // namespace

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!iid) return E_POINTER;
  *iid = sinks_->eventInterface();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!container) return E_POINTER;
  return container_.CopyTo(container);
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return sinks_->Advise(sink, cookie);
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return sinks_->Unadvise(cookie);
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!connections) return E_POINTER;
  *connections = nullptr;
  std::vector<StoredConnection> items;
  for (const auto& connection : sinks_->connections()) {
    common::ComPtr<IUnknown> sink;
    connection.sink.As(&sink);
    items.push_back({std::move(sink), connection.cookie});
  }
  auto enumerator = common::make<ConnectionEnumerator>(std::move(items), &CopyConnection);
  if (!enumerator) return E_OUTOFMEMORY;
  return enumerator->QueryInterface(IID_IEnumConnections, reinterpret_cast<void**>(connections));
}

HRESULT EnumerateConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  *points = nullptr;
  std::vector<common::ComPtr<IConnectionPoint>> items{common::ComPtr<IConnectionPoint>(point)};
  auto enumerator = common::make<PointEnumerator>(std::move(items), &CopyPoint);
  if (!enumerator) return E_OUTOFMEMORY;
  return enumerator->QueryInterface(IID_IEnumConnectionPoints, reinterpret_cast<void**>(points));
}

}  // namespace traylume

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
  return common::MakeAndQuery<ConnectionEnumerator>(IID_IEnumConnections, reinterpret_cast<void**>(connections),
                                                    std::move(items), &CopyConnection);
}

HRESULT EnumerateConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  *points = nullptr;
  std::vector<common::ComPtr<IConnectionPoint>> items{common::ComPtr<IConnectionPoint>(point)};
  return common::MakeAndQuery<PointEnumerator>(IID_IEnumConnectionPoints, reinterpret_cast<void**>(points),
                                               std::move(items), &CopyPoint);
}

}  // namespace traylume

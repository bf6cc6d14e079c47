#include "traylume/event_sinks.h"

#include <algorithm>

namespace traylume {

HRESULT EventSinks::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  common::ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(eventInterface_, dispatch.put_void())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.put_void()))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  if (!dispatch) return CONNECT_E_CANNOTCONNECT;
  const DWORD assigned = nextCookie_++;
  connections_.push_back({assigned, std::move(dispatch)});
  *cookie = assigned;
  return S_OK;
}

HRESULT EventSinks::Unadvise(DWORD cookie) {
  const auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [cookie](const Connection& c) { return c.cookie == cookie; });
  if (found == connections_.end()) return CONNECT_E_NOCONNECTION;
  // Released after it leaves the list: the sink's Release may call back.
  common::ComPtr<IDispatch> sink = std::move(found->sink);
  connections_.erase(found);
  return S_OK;
}

bool EventSinks::IsAdvised(DWORD cookie) const {
  return std::any_of(connections_.begin(), connections_.end(),
                     [cookie](const Connection& c) { return c.cookie == cookie; });
}

void EventSinks::Raise(DISPID id, std::optional<short> button) {
  const std::vector<Connection> snapshot = connections_;
  for (const Connection& connection : snapshot) {
    if (!IsAdvised(connection.cookie)) continue;
    short value = button.value_or(0);
    VARIANT argument;
    ::VariantInit(&argument);
    DISPPARAMS params{};
    if (button) {
      V_VT(&argument) = VT_I2 | VT_BYREF;
      V_I2REF(&argument) = &value;
      params.rgvarg = &argument;
      params.cArgs = 1;
    }
    // What a sink answers changes nothing for the control or the others.
    connection.sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                            nullptr);
  }
}

}  // namespace traylume

#include "tests/traylume/recording_sink.h"

#include <ocidl.h>

#include "traylume_idl.h"

namespace traylume_tests {

STDMETHODIMP RecordingSink::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

STDMETHODIMP RecordingSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP RecordingSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP RecordingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) {
  ReceivedEvent event{id, params ? params->cArgs : 0, VT_EMPTY, 0};
  if (params && params->cArgs > 0 && params->rgvarg) {
    const VARIANT& argument = params->rgvarg[params->cArgs - 1];
    event.argumentType = V_VT(&argument);
    if (V_VT(&argument) == (VT_I2 | VT_BYREF) && V_I2REF(&argument)) {
      event.button = *V_I2REF(&argument);
      *V_I2REF(&argument) = 0x7777;  // a handler may write to a by-reference argument
    } else if (V_VT(&argument) == VT_I2) {
      event.button = V_I2(&argument);
    }
  }
  events.push_back(event);
  if (onEvent) onEvent(id);
  return S_OK;
}

void* RecordingSink::QueryExtra(REFIID iid) {
  if (answerEventInterface_ && iid == DIID_ITraylumeEvents) return static_cast<IDispatch*>(this);
  return nullptr;
}

namespace {

HRESULT EventPoint(IUnknown* control, common::ComPtr<IConnectionPoint>* point) {
  common::ComPtr<IConnectionPointContainer> container;
  HRESULT hr = control->QueryInterface(IID_IConnectionPointContainer, container.put_void());
  return SUCCEEDED(hr) ? container->FindConnectionPoint(DIID_ITraylumeEvents, point->put()) : hr;
}

}  // namespace

DWORD AdviseEvents(IUnknown* control, IUnknown* sink) {
  common::ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  return SUCCEEDED(EventPoint(control, &point)) && SUCCEEDED(point->Advise(sink, &cookie)) ? cookie : 0;
}

HRESULT UnadviseEvents(IUnknown* control, DWORD cookie) {
  common::ComPtr<IConnectionPoint> point;
  const HRESULT hr = EventPoint(control, &point);
  return SUCCEEDED(hr) ? point->Unadvise(cookie) : hr;
}

}  // namespace traylume_tests

#pragma once
// The sink advised on the control's event interface: answers that
// dispinterface's IID (known only at run time), IDispatch and IUnknown, and
// turns the seven events into calls of TraylumeEvents.

#include <windows.h>
#include <oaidl.h>

#include "common/com_object.h"
#include "component/traylume_events.h"

namespace component {

class EventSink : public common::ComObject<IDispatch> {
 public:
  EventSink(TraylumeEvents* events, const IID& eventInterface);

  // Stops passing events on. The control may still hold the sink (and call
  // it) after the window that handled its events is gone.
  void Disconnect() { events_ = nullptr; }

  const IID& eventInterface() const { return eventInterface_; }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

 protected:
  ~EventSink() override = default;
  void* QueryExtra(REFIID iid) override;

 private:
  TraylumeEvents* events_;
  IID eventInterface_;
};

}  // namespace component

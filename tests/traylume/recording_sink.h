#pragma once
// An event sink that records every event it receives: the dispatch id, the
// number of arguments, the argument's type and its value.

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <vector>

#include "common/com_object.h"

namespace traylume_tests {

struct ReceivedEvent {
  DISPID id;
  UINT argumentCount;
  VARTYPE argumentType;  // VT_EMPTY when there is no argument
  short button;          // the value behind VT_I2 | VT_BYREF (or VT_I2)
};

class RecordingSink final : public common::ComObject<IDispatch> {
 public:
  // answerEventInterface: false makes the sink answer IDispatch only, as
  // sinks of some hosts do.
  explicit RecordingSink(bool answerEventInterface = true) : answerEventInterface_(answerEventInterface) {}

  std::vector<ReceivedEvent> events;
  // Runs after an event is recorded (to unadvise, release the control...).
  std::function<void(DISPID)> onEvent;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;

 protected:
  void* QueryExtra(REFIID iid) override;

 private:
  bool answerEventInterface_;
};

// Connects `sink` to `control`'s event interface; the cookie, or 0.
DWORD AdviseEvents(IUnknown* control, IUnknown* sink);
HRESULT UnadviseEvents(IUnknown* control, DWORD cookie);

}  // namespace traylume_tests

#include "component/event_sink.h"

#include <oleauto.h>

#include "common/dispatch_args.h"
#include "common/variant.h"
#include "component/dispids.h"

namespace traylume {
namespace {

// One event: its id, its name, whether it carries Button, and whom it calls.
struct EventRow {
  DISPID id;
  const wchar_t* name;
  bool hasButton;
  void (*raise)(TraylumeEvents& events, short button);
};

constexpr EventRow kEvents[] = {
    {dispid::kMouseDown, L"MouseDown", true, [](TraylumeEvents& e, short b) { e.MouseDown(b); }},
    {dispid::kMouseMove, L"MouseMove", false, [](TraylumeEvents& e, short) { e.MouseMove(); }},
    {dispid::kMouseUp, L"MouseUp", true, [](TraylumeEvents& e, short b) { e.MouseUp(b); }},
    {dispid::kDblClick, L"DblClick", true, [](TraylumeEvents& e, short b) { e.DblClick(b); }},
    {dispid::kBalloonShow, L"BalloonShow", false, [](TraylumeEvents& e, short) { e.BalloonShow(); }},
    {dispid::kBalloonClose, L"BalloonClose", false, [](TraylumeEvents& e, short) { e.BalloonClose(); }},
    {dispid::kBalloonClick, L"BalloonClick", false, [](TraylumeEvents& e, short) { e.BalloonClick(); }},
};

const EventRow* FindEvent(DISPID id) {
  for (const EventRow& row : kEvents) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

// An argument left out by the caller: nothing there, or the "missing" marker.
bool IsMissing(const VARIANT* arg) {
  if (!arg) return true;
  const VARTYPE type = V_VT(arg);
  return type == VT_EMPTY || (type == VT_ERROR && V_ERROR(arg) == DISP_E_PARAMNOTFOUND);
}

// Reads Button, the event's one argument: a 16-bit integer by reference as
// the control declares it, by value, or any integer that fits.
HRESULT ReadButton(const DISPPARAMS* params, short* button, UINT* argError) {
  const VARIANT* arg = common::PositionalArgument(params, 0);
  const UINT slot = params->cArgs > 0 ? params->cArgs - 1 : 0;
  if (IsMissing(arg)) {
    if (argError) *argError = slot;
    return DISP_E_PARAMNOTFOUND;
  }
  if (V_VT(arg) == (VT_I2 | VT_BYREF) && V_I2REF(arg)) {
    *button = *V_I2REF(arg);
    return S_OK;
  }
  if (V_VT(arg) == VT_I2) {
    *button = V_I2(arg);
    return S_OK;
  }
  common::UniqueVariant value;
  const HRESULT hr = common::CoerceArgument(*arg, VT_I2, value.put());
  if (FAILED(hr)) {
    if (argError) *argError = slot;
    return hr;
  }
  *button = V_I2(value.get());
  return S_OK;
}

}  // namespace

EventSink::EventSink(TraylumeEvents* events, const IID& eventInterface)
    : events_(events), eventInterface_(eventInterface) {}

void* EventSink::QueryExtra(REFIID iid) {
  if (iid == eventInterface_) return static_cast<IDispatch*>(this);
  return nullptr;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return common::IdsOfNames(kEvents, names, count, ids);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                               UINT* argError) {
  const EventRow* row = FindEvent(id);
  if (!row || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{};
  if (!params) params = &none;
  if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs > (row->hasButton ? 1u : 0u)) return DISP_E_BADPARAMCOUNT;

  short button = 0;
  if (row->hasButton) {
    const HRESULT hr = ReadButton(params, &button, argError);
    if (FAILED(hr)) return hr;
  }
  if (TraylumeEvents* events = events_) row->raise(*events, button);
  return S_OK;
}

}  // namespace traylume

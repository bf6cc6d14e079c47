#include "component/event_sink.h"

#include <oleauto.h>

#include <iterator>

#include "common/dispatch_args.h"
#include "common/foreign_variant.h"
#include "common/hresult.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"

namespace component {
namespace {

namespace dispid = contract::dispid;

using Raise = void (*)(TraylumeEvents& events, short button);

// One event: its id, its name (the contract's), whether it carries Button,
// and whom it calls.
struct EventRow {
  DISPID id;
  const wchar_t* name;
  bool hasButton;
  Raise raise;
};

constexpr EventRow Event(DISPID id, bool hasButton, Raise raise) {
  return {id, contract::EventName(id), hasButton, raise};
}

constexpr EventRow kEvents[] = {
    Event(dispid::kMouseDown, true, [](TraylumeEvents& e, short b) { e.MouseDown(b); }),
    Event(dispid::kMouseMove, false, [](TraylumeEvents& e, short) { e.MouseMove(); }),
    Event(dispid::kMouseUp, true, [](TraylumeEvents& e, short b) { e.MouseUp(b); }),
    Event(dispid::kDblClick, true, [](TraylumeEvents& e, short b) { e.DblClick(b); }),
    Event(dispid::kBalloonShow, false, [](TraylumeEvents& e, short) { e.BalloonShow(); }),
    Event(dispid::kBalloonClose, false, [](TraylumeEvents& e, short) { e.BalloonClose(); }),
    Event(dispid::kBalloonClick, false, [](TraylumeEvents& e, short) { e.BalloonClick(); }),
};
static_assert(std::size(kEvents) == contract::CountOf(contract::Side::kEvent), "a row for each event");

const EventRow* FindEvent(DISPID id) {
  for (const EventRow& row : kEvents) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

// Reads Button, the event's one argument: a 16-bit integer by reference as
// the control declares it, by value, or any scalar that converts. A control
// that sends something else is refused, and its event is not passed on.
HRESULT ReadButton(const DISPPARAMS& params, short* button, UINT* argError) {
  const VARIANT* arg = common::PositionalArgument(params, 0);
  const UINT slot = params.cArgs > 0 ? params.cArgs - 1 : 0;
  if (!arg || V_VT(arg) == VT_EMPTY || common::IsMissing(*arg)) {
    return common::ArgumentError(DISP_E_PARAMNOTFOUND, slot, argError);
  }
  common::UniqueVariant value;
  const HRESULT hr = common::ReadScalar(*arg, VT_I2, &value);
  if (FAILED(hr)) return common::ArgumentError(hr, slot, argError);
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

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) { return common::NoTypeInfoCount(count); }

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return common::NoTypeInfo(info); }

STDMETHODIMP EventSink::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return common::IdsOfNames(kEvents, iid, names, count, ids);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                               UINT* argError) {
  const EventRow* row = FindEvent(id);
  if (!row || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  RETURN_IF_FAILED(common::CheckParams(params));
  DISPPARAMS none{};
  if (!params) params = &none;
  if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs > (row->hasButton ? 1u : 0u)) return DISP_E_BADPARAMCOUNT;

  short button = 0;
  if (row->hasButton) RETURN_IF_FAILED(ReadButton(*params, &button, argError));
  return common::NoThrow([&] {
    if (TraylumeEvents* events = events_) row->raise(*events, button);
    return S_OK;
  });
}

}  // namespace component

// The control's automation members as a table, and IDispatch over it.

#include <iterator>
#include <utility>

#include "common/dispatch_args.h"
#include "common/foreign_variant.h"
#include "common/hresult.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "traylume/traylume_control.h"
#include "traylume/type_library.h"

namespace traylume {

enum class MemberKind { kProperty, kMethod };

// One row of the dispatch table; its name is the contract's for its id.
struct DispatchMember {
  using Get = HRESULT (TraylumeControl::*)(VARIANT* value);
  using Put = HRESULT (TraylumeControl::*)(const VARIANT& value, ControlError* error);
  using Call = HRESULT (TraylumeControl::*)(ControlError* error);

  const wchar_t* name;
  DISPID id;
  MemberKind kind;
  VARTYPE type;  // the value type of a property
  Get get;
  Put put;           // nullptr: read-only
  bool byReference;  // a picture: DISPATCH_PROPERTYPUTREF as well as PUT
  Call call;
};

namespace {

using Member = DispatchMember;

constexpr Member Property(DISPID id, VARTYPE type, Member::Get get, Member::Put put) {
  return {contract::MemberName(id), id, MemberKind::kProperty, type, get, put, false, nullptr};
}

constexpr Member ReadOnly(DISPID id, VARTYPE type, Member::Get get) { return Property(id, type, get, nullptr); }

// A picture property: set by reference (DISPATCH_PROPERTYPUTREF) as well.
constexpr Member Picture(DISPID id, Member::Get get, Member::Put put) {
  Member row = Property(id, VT_DISPATCH, get, put);
  row.byReference = true;
  return row;
}

constexpr Member Method(DISPID id, Member::Call call) {
  return {contract::MemberName(id), id, MemberKind::kMethod, VT_EMPTY, nullptr, nullptr, false, call};
}

}  // namespace

namespace dispid = contract::dispid;
using C = TraylumeControl;

const DispatchMember TraylumeControl::kMembers[] = {
    ReadOnly(dispid::kBalloonSupported, VT_BOOL, &C::GetBalloonSupported),
    Property(dispid::kBalloonText, VT_BSTR, &C::GetBalloonText, &C::PutBalloonText),
    Property(dispid::kAutoRefresh, VT_BOOL, &C::GetAutoRefresh, &C::PutAutoRefresh),
    Property(dispid::kBalloonSound, VT_BOOL, &C::GetBalloonSound, &C::PutBalloonSound),
    Property(dispid::kBalloon, VT_BOOL, &C::GetBalloon, &C::PutBalloon),
    Property(dispid::kBalloonTitle, VT_BSTR, &C::GetBalloonTitle, &C::PutBalloonTitle),
    Property(dispid::kToolTipText, VT_BSTR, &C::GetToolTipText, &C::PutToolTipText),
    Property(dispid::kBalloonIcon, VT_I4, &C::GetBalloonIcon, &C::PutBalloonIcon),
    Picture(dispid::kIcon, &C::GetIcon, &C::PutIcon),
    Method(dispid::kRefresh, &C::CallRefresh),
    Method(dispid::kShowIcon, &C::CallShowIcon),
    Method(dispid::kHideIcon, &C::CallHideIcon),
};

const DispatchMember* TraylumeControl::FindMember(DISPID id) {
  static_assert(std::size(kMembers) == contract::CountOf(contract::Side::kMember), "a row for each member");
  for (const DispatchMember& member : kMembers) {
    if (member.id == id) return &member;
  }
  return nullptr;
}

// --- IDispatch ---

STDMETHODIMP TraylumeControl::GetTypeInfoCount(UINT* count) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  common::ComPtr<ITypeInfo> typeInfo;
  RETURN_IF_FAILED(OwnTypeInfo(DIID_ITraylume, &typeInfo));
  *info = typeInfo.release();
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return common::IdsOfNames(kMembers, iid, names, count, ids);
}

STDMETHODIMP TraylumeControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  const DispatchMember* member = FindMember(id);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  RETURN_IF_FAILED(common::CheckParams(params));
  DISPPARAMS none{};
  if (!params) params = &none;
  if (result) ::VariantInit(result);

  ControlError error;
  const HRESULT hr = common::NoThrow([&] {
    if (member->kind == MemberKind::kMethod) {
      return (flags & DISPATCH_METHOD) ? InvokeMethod(*member, *params, &error) : DISP_E_MEMBERNOTFOUND;
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      return InvokePut(*member, flags, *params, &error, argError);
    }
    if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) return InvokeGet(*member, *params, result);
    return DISP_E_MEMBERNOTFOUND;
  });
  if (hr == DISP_E_EXCEPTION) return ReportException(error, exception);
  return hr;
}

HRESULT TraylumeControl::InvokeGet(const DispatchMember& member, const DISPPARAMS& params, VARIANT* result) {
  if (params.cNamedArgs) return DISP_E_NONAMEDARGS;
  if (params.cArgs) return DISP_E_BADPARAMCOUNT;
  common::UniqueVariant value;
  RETURN_IF_FAILED((this->*member.get)(value.put()));
  if (result) *result = value.release();
  return S_OK;
}

HRESULT TraylumeControl::InvokePut(const DispatchMember& member, WORD flags, const DISPPARAMS& params,
                                   ControlError* error, UINT* argError) {
  if (!member.put) return DISP_E_MEMBERNOTFOUND;  // read-only
  const bool byValue = (flags & DISPATCH_PROPERTYPUT) != 0;
  if (!byValue && !member.byReference) return DISP_E_MEMBERNOTFOUND;
  const VARIANT* source = nullptr;
  RETURN_IF_FAILED(common::PropertyPutArgument(params, &source, argError));
  common::UniqueVariant value;
  if (member.type == VT_DISPATCH) {
    common::ComPtr<IUnknown> object;
    RETURN_IF_FAILED(common::ArgumentError(common::ReadObject(*source, &object), 0, argError));
    value = common::UnknownVariant(object.get());
  } else {
    RETURN_IF_FAILED(common::ArgumentError(common::ReadScalar(*source, member.type, &value), 0, argError));
  }
  // A put that fails (the shell refuses the change it brings) leaves the
  // control as it was: the caller was told it did not happen.
  State before = CurrentState();
  const HRESULT hr = (this->*member.put)(*value.get(), error);
  if (FAILED(hr)) RestoreState(std::move(before));
  return hr;
}

HRESULT TraylumeControl::InvokeMethod(const DispatchMember& member, const DISPPARAMS& params, ControlError* error) {
  if (params.cNamedArgs) return DISP_E_NONAMEDARGS;
  if (params.cArgs) return DISP_E_BADPARAMCOUNT;
  return (this->*member.call)(error);
}

TraylumeControl::State TraylumeControl::CurrentState() const {
  return {tray_.settings(), autoRefresh_, picture_, dirty_};
}

void TraylumeControl::RestoreState(State state) {
  tray_.ResetSettings(std::move(state.tray));
  autoRefresh_ = state.autoRefresh;
  picture_ = std::move(state.picture);
  dirty_ = state.dirty;
}

}  // namespace traylume

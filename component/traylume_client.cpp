#include "component/traylume_client.h"

#include <oleauto.h>

#include <utility>

#include "common/foreign_variant.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "component/failure.h"
#include "component/texts.h"

namespace component {
namespace {

namespace dispid = contract::dispid;

// One IDispatch::Invoke. `value`, when given, is the one argument, passed as
// the named DISPID_PROPERTYPUT argument of a property put. The member's name
// serves only to say which access failed; the control is always reached by
// dispatch id.
common::ComResult Invoke(IDispatch* control, DISPID id, WORD flags, VARIANT* value, VARIANT* result) {
  const wchar_t* name = contract::MemberName(id);
  if (!control) return common::ComResult::Failure(E_POINTER, name, texts::kNoControl);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (value) {
    params.rgvarg = value;
    params.cArgs = 1;
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  common::UniqueExcepInfo info;
  UINT argError = 0;
  detail::ForgetErrorInfo();
  const HRESULT hr =
      control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, info.get(), &argError);
  return detail::InvokeFailure(hr, name, info);
}

common::ComResult Get(IDispatch* control, DISPID id, common::UniqueVariant* result) {
  return Invoke(control, id, DISPATCH_PROPERTYGET, nullptr, result->put());
}

common::ComResult Put(IDispatch* control, DISPID id, common::UniqueVariant value) {
  return Invoke(control, id, DISPATCH_PROPERTYPUT, value.get(), nullptr);
}

common::ComResult PutString(IDispatch* control, DISPID id, std::wstring_view text) {
  common::UniqueVariant value = common::TextVariant(text);
  if (value.type() != VT_BSTR) return detail::Failure(E_OUTOFMEMORY, contract::MemberName(id));
  return Put(control, id, std::move(value));
}

common::ComResult Call(IDispatch* control, DISPID id) {
  return Invoke(control, id, DISPATCH_METHOD, nullptr, nullptr);
}

}  // namespace

common::ComResult Traylume::GetBalloonSupported(bool* supported) const {
  const wchar_t* name = contract::MemberName(dispid::kBalloonSupported);
  if (!supported) return detail::Failure(E_POINTER, name);
  *supported = false;
  common::UniqueVariant result;
  common::ComResult outcome = Get(control_.get(), dispid::kBalloonSupported, &result);
  if (!outcome) return outcome;
  common::UniqueVariant flag;
  const HRESULT hr = common::ReadScalar(*result.get(), VT_BOOL, &flag);
  if (FAILED(hr)) return detail::Failure(hr, name);
  *supported = V_BOOL(flag.get()) != VARIANT_FALSE;
  return outcome;
}

common::ComResult Traylume::PutBalloonText(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kBalloonText, text);
}

common::ComResult Traylume::PutAutoRefresh(bool on) const {
  return Put(control_.get(), dispid::kAutoRefresh, common::BoolVariant(on));
}

common::ComResult Traylume::PutBalloonSound(bool on) const {
  return Put(control_.get(), dispid::kBalloonSound, common::BoolVariant(on));
}

common::ComResult Traylume::PutBalloon(bool on) const {
  return Put(control_.get(), dispid::kBalloon, common::BoolVariant(on));
}

common::ComResult Traylume::PutBalloonTitle(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kBalloonTitle, text);
}

common::ComResult Traylume::PutToolTipText(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kToolTipText, text);
}

common::ComResult Traylume::PutBalloonIcon(long kind) const {
  return Put(control_.get(), dispid::kBalloonIcon, common::LongVariant(kind));
}

common::ComResult Traylume::GetIcon(common::ComPtr<IPictureDisp>* picture) const {
  const wchar_t* name = contract::MemberName(dispid::kIcon);
  if (!picture) return detail::Failure(E_POINTER, name);
  picture->reset();
  common::UniqueVariant result;
  common::ComResult outcome = Get(control_.get(), dispid::kIcon, &result);
  if (!outcome) return outcome;
  common::ComPtr<IUnknown> object;
  if (FAILED(common::ReadObject(*result.get(), &object)) || !object) {
    return common::ComResult::Failure(DISP_E_TYPEMISMATCH, name, texts::kIconIsNotPicture);
  }
  const HRESULT hr = object->QueryInterface(IID_IPictureDisp, picture->put_void());
  if (FAILED(hr) || !*picture) {
    picture->reset();
    return common::ComResult::Failure(FAILED(hr) ? hr : E_NOINTERFACE, name, texts::kIconIsNotPicture);
  }
  return outcome;
}

common::ComResult Traylume::PutRefIcon(IPictureDisp* picture) const {
  common::UniqueVariant value = common::DispatchVariant(picture);
  return Invoke(control_.get(), dispid::kIcon, DISPATCH_PROPERTYPUTREF, value.get(), nullptr);
}

common::ComResult Traylume::Refresh() const { return Call(control_.get(), dispid::kRefresh); }

common::ComResult Traylume::ShowIcon() const { return Call(control_.get(), dispid::kShowIcon); }

common::ComResult Traylume::HideIcon() const { return Call(control_.get(), dispid::kHideIcon); }

}  // namespace component

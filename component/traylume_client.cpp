#include "component/traylume_client.h"

#include <oleauto.h>

#include "common/foreign_variant.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "component/failure.h"
#include "component/texts.h"

namespace component {
namespace {

namespace dispid = contract::dispid;

// The member names serve only to say which access failed; the control is
// always reached by dispatch id.
constexpr wchar_t kBalloonSupported[] = L"BalloonSupported";
constexpr wchar_t kBalloonText[] = L"BalloonText";
constexpr wchar_t kAutoRefresh[] = L"AutoRefresh";
constexpr wchar_t kBalloonSound[] = L"BalloonSound";
constexpr wchar_t kBalloon[] = L"Balloon";
constexpr wchar_t kBalloonTitle[] = L"BalloonTitle";
constexpr wchar_t kToolTipText[] = L"ToolTipText";
constexpr wchar_t kBalloonIcon[] = L"BalloonIcon";
constexpr wchar_t kIcon[] = L"Icon";
constexpr wchar_t kRefresh[] = L"Refresh";
constexpr wchar_t kShowIcon[] = L"ShowIcon";
constexpr wchar_t kHideIcon[] = L"HideIcon";

// One IDispatch::Invoke. `value`, when given, is the one argument, passed as
// the named DISPID_PROPERTYPUT argument of a property put.
common::ComResult Invoke(IDispatch* control, DISPID id, const wchar_t* name, WORD flags, VARIANT* value,
                 VARIANT* result) {
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

common::ComResult Put(IDispatch* control, DISPID id, const wchar_t* name, common::UniqueVariant& value) {
  return Invoke(control, id, name, DISPATCH_PROPERTYPUT, value.get(), nullptr);
}

common::ComResult PutBool(IDispatch* control, DISPID id, const wchar_t* name, bool on) {
  common::UniqueVariant value;
  V_VT(value.get()) = VT_BOOL;
  V_BOOL(value.get()) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return Put(control, id, name, value);
}

common::ComResult PutString(IDispatch* control, DISPID id, const wchar_t* name, std::wstring_view text) {
  common::UniqueVariant value;
  BSTR bstr = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!bstr) return detail::Failure(E_OUTOFMEMORY, name);
  V_VT(value.get()) = VT_BSTR;
  V_BSTR(value.get()) = bstr;
  return Put(control, id, name, value);
}

common::ComResult Call(IDispatch* control, DISPID id, const wchar_t* name) {
  return Invoke(control, id, name, DISPATCH_METHOD, nullptr, nullptr);
}

}  // namespace

common::ComResult Traylume::GetBalloonSupported(bool* supported) const {
  if (!supported) return detail::Failure(E_POINTER, kBalloonSupported);
  *supported = false;
  common::UniqueVariant result;
  common::ComResult outcome =
      Invoke(control_.get(), dispid::kBalloonSupported, kBalloonSupported, DISPATCH_PROPERTYGET, nullptr, result.put());
  if (!outcome) return outcome;
  common::UniqueVariant flag;
  const HRESULT hr = common::ReadScalar(*result.get(), VT_BOOL, &flag);
  if (FAILED(hr)) return detail::Failure(hr, kBalloonSupported);
  *supported = V_BOOL(flag.get()) != VARIANT_FALSE;
  return outcome;
}

common::ComResult Traylume::PutBalloonText(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kBalloonText, kBalloonText, text);
}

common::ComResult Traylume::PutAutoRefresh(bool on) const {
  return PutBool(control_.get(), dispid::kAutoRefresh, kAutoRefresh, on);
}

common::ComResult Traylume::PutBalloonSound(bool on) const {
  return PutBool(control_.get(), dispid::kBalloonSound, kBalloonSound, on);
}

common::ComResult Traylume::PutBalloon(bool on) const { return PutBool(control_.get(), dispid::kBalloon, kBalloon, on); }

common::ComResult Traylume::PutBalloonTitle(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kBalloonTitle, kBalloonTitle, text);
}

common::ComResult Traylume::PutToolTipText(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kToolTipText, kToolTipText, text);
}

common::ComResult Traylume::PutBalloonIcon(long kind) const {
  common::UniqueVariant value;
  V_VT(value.get()) = VT_I4;
  V_I4(value.get()) = kind;
  return Put(control_.get(), dispid::kBalloonIcon, kBalloonIcon, value);
}

common::ComResult Traylume::GetIcon(common::ComPtr<IPictureDisp>* picture) const {
  if (!picture) return detail::Failure(E_POINTER, kIcon);
  picture->reset();
  common::UniqueVariant result;
  common::ComResult outcome = Invoke(control_.get(), dispid::kIcon, kIcon, DISPATCH_PROPERTYGET, nullptr, result.put());
  if (!outcome) return outcome;
  common::ComPtr<IUnknown> object;
  if (FAILED(common::ReadObject(*result.get(), &object)) || !object) {
    return common::ComResult::Failure(DISP_E_TYPEMISMATCH, kIcon, texts::kIconIsNotPicture);
  }
  const HRESULT hr = object->QueryInterface(IID_IPictureDisp, picture->put_void());
  if (FAILED(hr) || !*picture) {
    picture->reset();
    return common::ComResult::Failure(FAILED(hr) ? hr : E_NOINTERFACE, kIcon, texts::kIconIsNotPicture);
  }
  return outcome;
}

common::ComResult Traylume::PutRefIcon(IPictureDisp* picture) const {
  common::UniqueVariant value;
  V_VT(value.get()) = VT_DISPATCH;
  V_DISPATCH(value.get()) = common::ComPtr<IPictureDisp>(picture).release();  // the variant owns it
  return Invoke(control_.get(), dispid::kIcon, kIcon, DISPATCH_PROPERTYPUTREF, value.get(), nullptr);
}

common::ComResult Traylume::Refresh() const { return Call(control_.get(), dispid::kRefresh, kRefresh); }

common::ComResult Traylume::ShowIcon() const { return Call(control_.get(), dispid::kShowIcon, kShowIcon); }

common::ComResult Traylume::HideIcon() const { return Call(control_.get(), dispid::kHideIcon, kHideIcon); }

}  // namespace component

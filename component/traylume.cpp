#include "component/traylume.h"

#include <oleauto.h>

#include "common/variant.h"
#include "component/dispids.h"
#include "component/failure.h"
#include "component/texts.h"

namespace traylume {
namespace {

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
ComResult Invoke(IDispatch* control, DISPID id, const wchar_t* name, WORD flags, VARIANT* value,
                 VARIANT* result) {
  if (!control) return ComResult::Failure(E_POINTER, name, texts::kNoControl);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (value) {
    params.rgvarg = value;
    params.cArgs = 1;
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO info{};
  UINT argError = 0;
  detail::ForgetErrorInfo();
  const HRESULT hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &info, &argError);
  return detail::InvokeFailure(hr, name, &info);
}

ComResult Put(IDispatch* control, DISPID id, const wchar_t* name, common::UniqueVariant& value) {
  return Invoke(control, id, name, DISPATCH_PROPERTYPUT, value.get(), nullptr);
}

ComResult PutBool(IDispatch* control, DISPID id, const wchar_t* name, bool on) {
  common::UniqueVariant value;
  V_VT(value.get()) = VT_BOOL;
  V_BOOL(value.get()) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return Put(control, id, name, value);
}

ComResult PutString(IDispatch* control, DISPID id, const wchar_t* name, std::wstring_view text) {
  common::UniqueVariant value;
  BSTR bstr = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!bstr) return detail::Failure(E_OUTOFMEMORY, name);
  V_VT(value.get()) = VT_BSTR;
  V_BSTR(value.get()) = bstr;
  return Put(control, id, name, value);
}

ComResult Call(IDispatch* control, DISPID id, const wchar_t* name) {
  return Invoke(control, id, name, DISPATCH_METHOD, nullptr, nullptr);
}

}  // namespace

ComResult Traylume::GetBalloonSupported(bool* supported) const {
  if (!supported) return detail::Failure(E_POINTER, kBalloonSupported);
  *supported = false;
  common::UniqueVariant result;
  ComResult outcome =
      Invoke(control_.get(), dispid::kBalloonSupported, kBalloonSupported, DISPATCH_PROPERTYGET, nullptr, result.put());
  if (!outcome) return outcome;
  common::UniqueVariant flag;
  const HRESULT hr = ::VariantChangeType(flag.get(), result.get(), 0, VT_BOOL);
  if (FAILED(hr)) return detail::Failure(hr, kBalloonSupported);
  *supported = V_BOOL(flag.get()) != VARIANT_FALSE;
  return outcome;
}

ComResult Traylume::PutBalloonText(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kBalloonText, kBalloonText, text);
}

ComResult Traylume::PutAutoRefresh(bool on) const {
  return PutBool(control_.get(), dispid::kAutoRefresh, kAutoRefresh, on);
}

ComResult Traylume::PutBalloonSound(bool on) const {
  return PutBool(control_.get(), dispid::kBalloonSound, kBalloonSound, on);
}

ComResult Traylume::PutBalloon(bool on) const { return PutBool(control_.get(), dispid::kBalloon, kBalloon, on); }

ComResult Traylume::PutBalloonTitle(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kBalloonTitle, kBalloonTitle, text);
}

ComResult Traylume::PutToolTipText(std::wstring_view text) const {
  return PutString(control_.get(), dispid::kToolTipText, kToolTipText, text);
}

ComResult Traylume::PutBalloonIcon(long kind) const {
  common::UniqueVariant value;
  V_VT(value.get()) = VT_I4;
  V_I4(value.get()) = kind;
  return Put(control_.get(), dispid::kBalloonIcon, kBalloonIcon, value);
}

ComResult Traylume::GetIcon(common::ComPtr<IPictureDisp>* picture) const {
  if (!picture) return detail::Failure(E_POINTER, kIcon);
  picture->reset();
  common::UniqueVariant result;
  ComResult outcome = Invoke(control_.get(), dispid::kIcon, kIcon, DISPATCH_PROPERTYGET, nullptr, result.put());
  if (!outcome) return outcome;
  common::UniqueVariant direct;
  const bool danglingReference = (result.type() & VT_BYREF) && !V_BYREF(result.get());
  if (danglingReference || FAILED(::VariantCopyInd(direct.get(), result.get()))) {
    return ComResult::Failure(DISP_E_TYPEMISMATCH, kIcon, texts::kIconIsNotPicture);
  }
  IUnknown* object = nullptr;
  if (direct.type() == VT_DISPATCH) object = V_DISPATCH(direct.get());
  if (direct.type() == VT_UNKNOWN) object = V_UNKNOWN(direct.get());
  if (!object) return ComResult::Failure(DISP_E_TYPEMISMATCH, kIcon, texts::kIconIsNotPicture);
  const HRESULT hr = object->QueryInterface(IID_IPictureDisp, picture->put_void());
  if (FAILED(hr) || !*picture) {
    picture->reset();
    return ComResult::Failure(FAILED(hr) ? hr : E_NOINTERFACE, kIcon, texts::kIconIsNotPicture);
  }
  return outcome;
}

ComResult Traylume::PutRefIcon(IPictureDisp* picture) const {
  common::UniqueVariant value;
  V_VT(value.get()) = VT_DISPATCH;
  V_DISPATCH(value.get()) = common::ComPtr<IPictureDisp>(picture).release();  // the variant owns it
  return Invoke(control_.get(), dispid::kIcon, kIcon, DISPATCH_PROPERTYPUTREF, value.get(), nullptr);
}

ComResult Traylume::Refresh() const { return Call(control_.get(), dispid::kRefresh, kRefresh); }

ComResult Traylume::ShowIcon() const { return Call(control_.get(), dispid::kShowIcon, kShowIcon); }

ComResult Traylume::HideIcon() const { return Call(control_.get(), dispid::kHideIcon, kHideIcon); }

}  // namespace traylume

// The control's automation members: one table row per member, and
// IDispatch over that table.

#include <shlwapi.h>

#include "common/bstr.h"
#include "common/dispatch_args.h"
#include "common/foreign_variant.h"
#include "common/hresult.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "traylume/pictures.h"
#include "traylume/traylume_control.h"
#include "traylume/type_library.h"
#include "traylume/texts.h"

namespace traylume {

enum class MemberKind { kProperty, kMethod };

struct TraylumeControl::DispatchMember {
  const wchar_t* name;
  DISPID id;
  MemberKind kind;
  VARTYPE type;  // the value type of a property
  HRESULT (TraylumeControl::*get)(VARIANT* value);
  HRESULT (TraylumeControl::*put)(const VARIANT& value, ControlError* error);  // nullptr: read-only
  bool byReference;  // a picture: DISPATCH_PROPERTYPUTREF as well as PUT
  HRESULT (TraylumeControl::*call)(ControlError* error);
};

namespace dispid = contract::dispid;
using C = TraylumeControl;

const TraylumeControl::DispatchMember TraylumeControl::kMembers[] = {
    {L"BalloonSupported", dispid::kBalloonSupported, MemberKind::kProperty, VT_BOOL, &C::GetBalloonSupported,
     nullptr, false, nullptr},
    {L"BalloonText", dispid::kBalloonText, MemberKind::kProperty, VT_BSTR, &C::GetBalloonText, &C::PutBalloonText,
     false, nullptr},
    {L"AutoRefresh", dispid::kAutoRefresh, MemberKind::kProperty, VT_BOOL, &C::GetAutoRefresh, &C::PutAutoRefresh,
     false, nullptr},
    {L"BalloonSound", dispid::kBalloonSound, MemberKind::kProperty, VT_BOOL, &C::GetBalloonSound,
     &C::PutBalloonSound, false, nullptr},
    {L"Balloon", dispid::kBalloon, MemberKind::kProperty, VT_BOOL, &C::GetBalloon, &C::PutBalloon, false, nullptr},
    {L"BalloonTitle", dispid::kBalloonTitle, MemberKind::kProperty, VT_BSTR, &C::GetBalloonTitle,
     &C::PutBalloonTitle, false, nullptr},
    {L"ToolTipText", dispid::kToolTipText, MemberKind::kProperty, VT_BSTR, &C::GetToolTipText, &C::PutToolTipText,
     false, nullptr},
    {L"BalloonIcon", dispid::kBalloonIcon, MemberKind::kProperty, VT_I4, &C::GetBalloonIcon, &C::PutBalloonIcon,
     false, nullptr},
    {L"Icon", dispid::kIcon, MemberKind::kProperty, VT_DISPATCH, &C::GetIcon, &C::PutIcon, true, nullptr},
    {L"Refresh", dispid::kRefresh, MemberKind::kMethod, VT_EMPTY, nullptr, nullptr, false, &C::CallRefresh},
    {L"ShowIcon", dispid::kShowIcon, MemberKind::kMethod, VT_EMPTY, nullptr, nullptr, false, &C::CallShowIcon},
    {L"HideIcon", dispid::kHideIcon, MemberKind::kMethod, VT_EMPTY, nullptr, nullptr, false, &C::CallHideIcon},
};

namespace {

HRESULT BoolValue(bool on, VARIANT* value) {
  V_VT(value) = VT_BOOL;
  V_BOOL(value) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT TextValue(const std::wstring& text, VARIANT* value) {
  common::UniqueBstr copy(text);
  if (!copy.get()) return E_OUTOFMEMORY;
  V_VT(value) = VT_BSTR;
  V_BSTR(value) = copy.release();
  return S_OK;
}

bool IsOn(const VARIANT& value) { return V_BOOL(&value) != VARIANT_FALSE; }

std::wstring Text(const VARIANT& value) {
  const BSTR text = V_BSTR(&value);
  return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

// Where the shell is new enough for balloons (shell32 5.0 and later).
bool ShellShowsBalloons() {
  HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
  if (!shell) return false;
  // The detour through void (*)() is the documented way to convert
  // GetProcAddress's result without a cast-function-type warning.
  const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void (*)()>(::GetProcAddress(shell, "DllGetVersion")));
  if (!getVersion) return false;
  DLLVERSIONINFO version{};
  version.cbSize = sizeof(version);
  if (FAILED(getVersion(&version))) return false;
  return version.dwMajorVersion >= 5;
}

}  // namespace

const TraylumeControl::DispatchMember* TraylumeControl::FindMember(DISPID id) {
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
    V_VT(value.get()) = VT_UNKNOWN;
    V_UNKNOWN(value.get()) = object.release();
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

// --- Member handlers ---

HRESULT TraylumeControl::GetBalloonSupported(VARIANT* value) { return BoolValue(ShellShowsBalloons(), value); }

HRESULT TraylumeControl::GetBalloonText(VARIANT* value) { return TextValue(tray_.balloonText(), value); }

HRESULT TraylumeControl::PutBalloonText(const VARIANT& value, ControlError* error) {
  tray_.SetBalloonText(Text(value));
  return BalloonChanged(error);
}

HRESULT TraylumeControl::GetAutoRefresh(VARIANT* value) { return BoolValue(autoRefresh_, value); }

HRESULT TraylumeControl::PutAutoRefresh(const VARIANT& value, ControlError* error) {
  autoRefresh_ = IsOn(value);
  // Switching it on brings the icon up to date at once, the balloon too:
  // from now on nothing is left pending.
  if (!autoRefresh_) return S_OK;
  return ShellStep(tray_.Apply(), texts::kUpdateFailed, error);
}

HRESULT TraylumeControl::GetBalloonSound(VARIANT* value) { return BoolValue(tray_.balloonSound(), value); }

HRESULT TraylumeControl::PutBalloonSound(const VARIANT& value, ControlError* error) {
  tray_.SetBalloonSound(IsOn(value));
  return BalloonChanged(error);
}

HRESULT TraylumeControl::GetBalloon(VARIANT* value) { return BoolValue(tray_.balloon(), value); }

HRESULT TraylumeControl::PutBalloon(const VARIANT& value, ControlError* error) {
  tray_.SetBalloon(IsOn(value));
  return Changed(error);
}

HRESULT TraylumeControl::GetBalloonTitle(VARIANT* value) { return TextValue(tray_.balloonTitle(), value); }

HRESULT TraylumeControl::PutBalloonTitle(const VARIANT& value, ControlError* error) {
  tray_.SetBalloonTitle(Text(value));
  return BalloonChanged(error);
}

HRESULT TraylumeControl::GetToolTipText(VARIANT* value) { return TextValue(tray_.toolTip(), value); }

HRESULT TraylumeControl::PutToolTipText(const VARIANT& value, ControlError* error) {
  tray_.SetToolTip(Text(value));
  dirty_ = true;
  return Changed(error);
}

HRESULT TraylumeControl::GetBalloonIcon(VARIANT* value) {
  V_VT(value) = VT_I4;
  V_I4(value) = tray_.balloonIcon();
  return S_OK;
}

HRESULT TraylumeControl::PutBalloonIcon(const VARIANT& value, ControlError* error) {
  tray_.SetBalloonIcon(V_I4(&value));
  return BalloonChanged(error);
}

HRESULT TraylumeControl::GetIcon(VARIANT* value) {
  const common::ComPtr<IPictureDisp>& shown = ShownPicture();
  if (!shown) return E_UNEXPECTED;
  V_VT(value) = VT_DISPATCH;
  IPictureDisp* picture = nullptr;
  shown.CopyTo(&picture);
  V_DISPATCH(value) = picture;
  return S_OK;
}

HRESULT TraylumeControl::PutIcon(const VARIANT& value, ControlError* error) {
  common::ComPtr<IPictureDisp> picture;
  if (IUnknown* object = V_UNKNOWN(&value)) {
    if (FAILED(object->QueryInterface(IID_IPictureDisp, picture.put_void())) || !picture) {
      *error = {CTL_E_INVALIDPICTURE, texts::kNotAPicture};
      return DISP_E_EXCEPTION;
    }
  }
  // Nothing (a null object) brings back the control's own icon.
  SharedTrayIcon trayIcon;
  RETURN_IF_FAILED(PrepareIcon(picture, &trayIcon, error));
  UseIcon(std::move(picture), std::move(trayIcon));
  return Changed(error);
}

HRESULT TraylumeControl::PrepareIcon(common::ComPtr<IPictureDisp> picture, SharedTrayIcon* trayIcon,
                                     ControlError* error) {
  if (!picture) {
    *trayIcon = defaultTrayIcon_;
    return S_OK;
  }
  common::ComPtr<IPicture> pictureObject;
  if (FAILED(picture.As(&pictureObject))) {
    *error = {CTL_E_INVALIDPICTURE, texts::kNotAPicture};
    return DISP_E_EXCEPTION;
  }
  const HRESULT hr = TrayIconFromPicture(pictureObject.get(), ShellIconSize(), trayIcon);
  if (hr == CTL_E_INVALIDPICTURE) {
    *error = {hr, texts::kUnusablePicture};
    return DISP_E_EXCEPTION;
  }
  if (FAILED(hr)) {
    *error = {hr, texts::kIconConversionFailed};
    return DISP_E_EXCEPTION;
  }
  return S_OK;
}

void TraylumeControl::UseIcon(common::ComPtr<IPictureDisp> picture, SharedTrayIcon trayIcon) {
  picture_ = std::move(picture);
  tray_.SetIcon(std::move(trayIcon));
  dirty_ = true;
  ViewChanged();
}

HRESULT TraylumeControl::CallRefresh(ControlError* error) {
  window_.StopTimer(kBalloonSettleTimer);
  return ShellStep(tray_.Apply(), texts::kUpdateFailed, error);
}

HRESULT TraylumeControl::CallShowIcon(ControlError* error) {
  // On a form being designed the icon stays out of the notification area.
  if (designTime_) return S_OK;
  // A closed control gets its window back: showing the icon again is what
  // the caller asks for.
  RETURN_IF_FAILED(EnsureWindow(error));
  window_.StopTimer(kBalloonSettleTimer);
  return ShellStep(tray_.Show(), texts::kShowFailed, error);
}

HRESULT TraylumeControl::CallHideIcon(ControlError*) {
  tray_.Hide();
  WatchForTaskBar();
  return S_OK;
}

}  // namespace traylume

// The control's automation members: what each get, put and method does.

#include <shlwapi.h>

#include "common/hresult.h"
#include "common/variant.h"
#include "traylume/pictures.h"
#include "traylume/traylume_control.h"
#include "traylume/texts.h"

namespace traylume {
namespace {

HRESULT BoolValue(bool on, VARIANT* value) {
  *value = common::BoolVariant(on).release();
  return S_OK;
}

HRESULT TextValue(const std::wstring& text, VARIANT* value) {
  common::UniqueVariant copy = common::TextVariant(text);
  if (copy.type() != VT_BSTR) RETURN_HR(E_OUTOFMEMORY);
  *value = copy.release();
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
  *value = common::LongVariant(tray_.balloonIcon()).release();
  return S_OK;
}

HRESULT TraylumeControl::PutBalloonIcon(const VARIANT& value, ControlError* error) {
  tray_.SetBalloonIcon(V_I4(&value));
  return BalloonChanged(error);
}

HRESULT TraylumeControl::GetIcon(VARIANT* value) {
  const common::ComPtr<IPictureDisp>& shown = ShownPicture();
  if (!shown) RETURN_HR(E_UNEXPECTED);
  *value = common::DispatchVariant(shown.get()).release();
  return S_OK;
}

HRESULT TraylumeControl::PutIcon(const VARIANT& value, ControlError* error) {
  common::ComPtr<IPictureDisp> picture;
  if (IUnknown* object = V_UNKNOWN(&value)) {
    if (FAILED(object->QueryInterface(IID_IPictureDisp, picture.put_void())) || !picture) {
      return Fail(error, CTL_E_INVALIDPICTURE, texts::kNotAPicture);
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
  if (FAILED(picture.As(&pictureObject))) return Fail(error, CTL_E_INVALIDPICTURE, texts::kNotAPicture);
  const HRESULT hr = TrayIconFromPicture(pictureObject.get(), ShellIconSize(), trayIcon);
  if (hr == CTL_E_INVALIDPICTURE) return Fail(error, hr, texts::kUnusablePicture);
  if (FAILED(hr)) return Fail(error, hr, texts::kIconConversionFailed);
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
  const HRESULT window = EnsureWindow();
  if (FAILED(window)) return Fail(error, window, texts::kWindowFailed);
  window_.StopTimer(kBalloonSettleTimer);
  return ShellStep(tray_.Show(), texts::kShowFailed, error);
}

HRESULT TraylumeControl::CallHideIcon(ControlError*) {
  tray_.Hide();
  WatchForTaskBar();
  return S_OK;
}

}  // namespace traylume

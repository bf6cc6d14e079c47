// IOleControl: what a form container tells the control. It has no
// mnemonics; it follows the container's UserMode ambient (on a form being
// designed nothing reaches the shell); and while the container freezes
// events they are dropped, not kept for later.

#include "common/foreign_variant.h"
#include "common/hresult.h"
#include "common/variant.h"
#include "traylume/traylume_control.h"

namespace traylume {
namespace {

// The site's UserMode ambient: true (run time) where the site does not say.
bool AmbientUserMode(const common::ComPtr<IOleClientSite>& site) {
  common::ComPtr<IDispatch> ambient;
  if (!site || FAILED(site.As(&ambient)) || !ambient) return true;
  DISPPARAMS none{};
  common::UniqueVariant answer;
  if (FAILED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                             answer.put(), nullptr, nullptr))) {
    return true;
  }
  common::UniqueVariant userMode;
  if (FAILED(common::ReadScalar(*answer.get(), VT_BOOL, &userMode))) return true;
  return V_BOOL(userMode.get()) != VARIANT_FALSE;
}

}  // namespace

void TraylumeControl::FollowUserMode() {
  designTime_ = !AmbientUserMode(site_);
  if (!designTime_) return;
  tray_.Hide();
  WatchForTaskBar();
}

STDMETHODIMP TraylumeControl::GetControlInfo(CONTROLINFO* info) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP TraylumeControl::OnMnemonic(MSG*) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return E_NOTIMPL;  // it has none
}

STDMETHODIMP TraylumeControl::OnAmbientPropertyChange(DISPID id) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (id == DISPID_AMBIENT_USERMODE || id == DISPID_UNKNOWN) FollowUserMode();
  return S_OK;
}

STDMETHODIMP TraylumeControl::FreezeEvents(BOOL freeze) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (freeze) {
    ++eventsFrozen_;
  } else if (eventsFrozen_ > 0) {
    --eventsFrozen_;
  }
  return S_OK;
}

}  // namespace traylume

// IOleObject: what a form host calls on a control that is invisible at run
// time. It keeps the client site (and follows its UserMode), the design
// extent and the advise sinks, refuses in-place activation, and Close takes
// the icon down.

#include "common/hresult.h"
#include "traylume/traylume_control.h"

namespace traylume {

STDMETHODIMP TraylumeControl::SetClientSite(IOleClientSite* site) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  site_ = common::ComPtr<IOleClientSite>(site);
  FollowUserMode();
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetClientSite(IOleClientSite** site) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!site) return E_POINTER;
  return site_.CopyTo(site);
}

STDMETHODIMP TraylumeControl::SetHostNames(LPCOLESTR, LPCOLESTR) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return S_OK;
}

STDMETHODIMP TraylumeControl::Close(DWORD saveOption) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (saveOption == OLECLOSE_SAVEIFDIRTY && dirty_ && site_) site_->SaveObject();
  Shutdown();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

STDMETHODIMP TraylumeControl::SetMoniker(DWORD, IMoniker*) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::InitFromData(IDataObject*, BOOL, DWORD) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::GetClipboardData(DWORD, IDataObject** data) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

// The control has nothing to show on a form and is never active in place:
// what a container sees of it is what IViewObject2 draws. So it says so,
// rather than claim an activation that never tells the site.
STDMETHODIMP TraylumeControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return OLE_E_NOT_INPLACEACTIVE;
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
      return OLEOBJ_S_CANNOT_DOVERB_NOW;  // no window of its own to show
    case OLEIVERB_HIDE:
      return S_OK;  // hidden it is
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

STDMETHODIMP TraylumeControl::EnumVerbs(IEnumOLEVERB** verbs) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (verbs) *verbs = nullptr;
  return OLEOBJ_E_NOVERBS;
}

STDMETHODIMP TraylumeControl::Update() {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return S_OK;
}

STDMETHODIMP TraylumeControl::IsUpToDate() {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetUserClassID(CLSID* clsid) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return GetClassID(clsid);
}

STDMETHODIMP TraylumeControl::GetUserType(DWORD, LPOLESTR* name) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (name) *name = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP TraylumeControl::SetExtent(DWORD aspect, SIZEL* size) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
  extent_ = *size;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetExtent(DWORD aspect, SIZEL* size) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP TraylumeControl::Advise(IAdviseSink* sink, DWORD* connection) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!connection) return E_POINTER;
  *connection = 0;
  if (!sink) return E_INVALIDARG;  // it would be called when the control closes
  if (!adviseHolder_) RETURN_IF_FAILED(::CreateOleAdviseHolder(adviseHolder_.put()));
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP TraylumeControl::Unadvise(DWORD connection) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!adviseHolder_) return OLE_E_NOCONNECTION;
  return adviseHolder_->Unadvise(connection);
}

STDMETHODIMP TraylumeControl::EnumAdvise(IEnumSTATDATA** advises) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!advises) return E_POINTER;
  *advises = nullptr;
  if (!adviseHolder_) return S_OK;  // no connections: no enumerator
  return adviseHolder_->EnumAdvise(advises);
}

STDMETHODIMP TraylumeControl::GetMiscStatus(DWORD, DWORD* status) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP TraylumeControl::SetColorScheme(LOGPALETTE*) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return E_NOTIMPL;
}

}  // namespace traylume

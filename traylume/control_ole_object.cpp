// IOleObject: what a form host calls on a control that is invisible at run
// time. It keeps the client site, the design extent and the advise sinks,
// and Close takes the icon down.

#include "common/hresult.h"
#include "traylume/traylume_control.h"

namespace traylume {

STDMETHODIMP TraylumeControl::SetClientSite(IOleClientSite* site) {
  site_ = common::ComPtr<IOleClientSite>(site);
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  return site_.CopyTo(site);
}

STDMETHODIMP TraylumeControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP TraylumeControl::Close(DWORD saveOption) {
  if (saveOption == OLECLOSE_SAVEIFDIRTY && dirty_ && site_) site_->SaveObject();
  Shutdown();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

STDMETHODIMP TraylumeControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP TraylumeControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP TraylumeControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_HIDE:
      return S_OK;  // nothing to show on the form: the icon lives in the tray
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

STDMETHODIMP TraylumeControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs) *verbs = nullptr;
  return OLEOBJ_E_NOVERBS;
}

STDMETHODIMP TraylumeControl::Update() { return S_OK; }

STDMETHODIMP TraylumeControl::IsUpToDate() { return S_OK; }

STDMETHODIMP TraylumeControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP TraylumeControl::GetUserType(DWORD, LPOLESTR* name) {
  if (name) *name = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP TraylumeControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
  extent_ = *size;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP TraylumeControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!connection) return E_POINTER;
  *connection = 0;
  if (!sink) return E_INVALIDARG;  // it would be called when the control closes
  if (!adviseHolder_) RETURN_IF_FAILED(::CreateOleAdviseHolder(adviseHolder_.put()));
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP TraylumeControl::Unadvise(DWORD connection) {
  if (!adviseHolder_) return OLE_E_NOCONNECTION;
  return adviseHolder_->Unadvise(connection);
}

STDMETHODIMP TraylumeControl::EnumAdvise(IEnumSTATDATA** advises) {
  if (!advises) return E_POINTER;
  *advises = nullptr;
  if (!adviseHolder_) return S_OK;  // no connections: no enumerator
  return adviseHolder_->EnumAdvise(advises);
}

STDMETHODIMP TraylumeControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP TraylumeControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

}  // namespace traylume

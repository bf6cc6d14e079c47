#include "component/host_site.h"

#include <olectl.h>
#include <oleauto.h>

#include "common/dispatch_args.h"

namespace component {
namespace {

// The name the form gives its one control instance.
constexpr wchar_t kInstanceName[] = L"Traylume1";

// The program's locale: Japanese.
constexpr LCID kLocale = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);

// One ambient property: its id, its name and how to answer it.
struct AmbientRow {
  DISPID id;
  const wchar_t* name;
  HRESULT (*read)(VARIANT* value);
};

HRESULT Boolean(VARIANT* value, bool on) {
  V_VT(value) = VT_BOOL;
  V_BOOL(value) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

constexpr AmbientRow kAmbients[] = {
    {DISPID_AMBIENT_USERMODE, L"UserMode", [](VARIANT* v) { return Boolean(v, true); }},
    {DISPID_AMBIENT_UIDEAD, L"UIDead", [](VARIANT* v) { return Boolean(v, false); }},
    {DISPID_AMBIENT_SHOWGRABHANDLES, L"ShowGrabHandles", [](VARIANT* v) { return Boolean(v, false); }},
    {DISPID_AMBIENT_SHOWHATCHING, L"ShowHatching", [](VARIANT* v) { return Boolean(v, false); }},
    {DISPID_AMBIENT_MESSAGEREFLECT, L"MessageReflect", [](VARIANT* v) { return Boolean(v, false); }},
    {DISPID_AMBIENT_LOCALEID, L"LocaleID",
     [](VARIANT* v) {
       V_VT(v) = VT_I4;
       V_I4(v) = static_cast<LONG>(kLocale);
       return S_OK;
     }},
    {DISPID_AMBIENT_DISPLAYNAME, L"DisplayName",
     [](VARIANT* v) {
       BSTR name = ::SysAllocString(kInstanceName);
       if (!name) return E_OUTOFMEMORY;
       V_VT(v) = VT_BSTR;
       V_BSTR(v) = name;
       return S_OK;
     }},
};

}  // namespace

// IOleClientSite. The form has no container document, moniker or storage.
STDMETHODIMP HostSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP HostSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HostSite::ShowObject() { return S_OK; }
STDMETHODIMP HostSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP HostSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// IOleControlSite. Nothing to do for an invisible control.
STDMETHODIMP HostSite::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP HostSite::LockInPlaceActive(BOOL) { return E_NOTIMPL; }

STDMETHODIMP HostSite::GetExtendedControl(IDispatch** control) {
  if (control) *control = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostSite::TransformCoords(POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP HostSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }
STDMETHODIMP HostSite::OnFocus(BOOL) { return S_OK; }
STDMETHODIMP HostSite::ShowPropertyFrame() { return E_NOTIMPL; }

// IOleWindow
STDMETHODIMP HostSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP HostSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// IDispatch: ambient properties.
STDMETHODIMP HostSite::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP HostSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP HostSite::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return common::IdsOfNames(kAmbients, iid, names, count, ids);
}

STDMETHODIMP HostSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO*, UINT*) {
  for (const AmbientRow& row : kAmbients) {
    if (row.id != id) continue;
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    if (!result) return E_POINTER;
    ::VariantInit(result);
    return row.read(result);
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace component

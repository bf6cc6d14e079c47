#include "component/host_site.h"

#include <olectl.h>
#include <oleauto.h>

#include "common/dispatch_args.h"
#include "common/hresult.h"
#include "common/variant.h"

namespace component {
namespace {

// The name the form gives its one control instance.
constexpr wchar_t kInstanceName[] = L"Traylume1";

// The program's locale: Japanese.
constexpr LCID kLocale = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);

// One ambient property: its id, its name and its value.
struct AmbientRow {
  DISPID id;
  const wchar_t* name;
  common::UniqueVariant (*value)();
};

constexpr AmbientRow kAmbients[] = {
    {DISPID_AMBIENT_USERMODE, L"UserMode", [] { return common::BoolVariant(true); }},
    {DISPID_AMBIENT_UIDEAD, L"UIDead", [] { return common::BoolVariant(false); }},
    {DISPID_AMBIENT_SHOWGRABHANDLES, L"ShowGrabHandles", [] { return common::BoolVariant(false); }},
    {DISPID_AMBIENT_SHOWHATCHING, L"ShowHatching", [] { return common::BoolVariant(false); }},
    {DISPID_AMBIENT_MESSAGEREFLECT, L"MessageReflect", [] { return common::BoolVariant(false); }},
    {DISPID_AMBIENT_LOCALEID, L"LocaleID", [] { return common::LongVariant(static_cast<LONG>(kLocale)); }},
    {DISPID_AMBIENT_DISPLAYNAME, L"DisplayName", [] { return common::TextVariant(kInstanceName); }},
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
STDMETHODIMP HostSite::GetTypeInfoCount(UINT* count) { return common::NoTypeInfoCount(count); }

STDMETHODIMP HostSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return common::NoTypeInfo(info); }

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
    common::UniqueVariant value = row.value();
    if (value.type() == VT_EMPTY) RETURN_HR(E_OUTOFMEMORY);  // no memory for the text
    *result = value.release();
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace component

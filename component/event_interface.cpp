#include "component/event_interface.h"

#include <olectl.h>
#include <oleauto.h>

#include "common/com_ptr.h"
#include "common/type_attr.h"

namespace component {
namespace {

HRESULT FromClassInfo2(IUnknown* control, IID* eventInterface) {
  common::ComPtr<IProvideClassInfo2> info;
  HRESULT hr = control->QueryInterface(IID_IProvideClassInfo2, info.put_void());
  if (FAILED(hr)) return hr;
  GUID guid = GUID_NULL;
  hr = info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid);
  if (FAILED(hr)) return hr;
  if (guid == GUID_NULL) return E_UNEXPECTED;
  *eventInterface = guid;
  return S_OK;
}

HRESULT FromTypeInfo(IUnknown* control, IID* eventInterface) {
  common::ComPtr<IProvideClassInfo> provider;
  HRESULT hr = control->QueryInterface(IID_IProvideClassInfo, provider.put_void());
  if (FAILED(hr)) return hr;
  common::ComPtr<ITypeInfo> coclass;
  hr = provider->GetClassInfo(coclass.put());
  if (FAILED(hr)) return hr;
  if (!coclass) return E_UNEXPECTED;
  common::TypeAttr attr(coclass.get());
  if (!attr.get()) return E_UNEXPECTED;
  if (attr.get()->typekind != TKIND_COCLASS) return TYPE_E_WRONGTYPEKIND;

  constexpr INT kDefaultSource = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
  for (UINT i = 0; i < attr.get()->cImplTypes; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || (flags & kDefaultSource) != kDefaultSource) continue;
    HREFTYPE reference = 0;
    hr = coclass->GetRefTypeOfImplType(i, &reference);
    if (FAILED(hr)) return hr;
    common::ComPtr<ITypeInfo> source;
    hr = coclass->GetRefTypeInfo(reference, source.put());
    if (FAILED(hr)) return hr;
    common::TypeAttr sourceAttr(source.get());
    if (!sourceAttr.get()) return E_UNEXPECTED;
    *eventInterface = sourceAttr.get()->guid;
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

}  // namespace

HRESULT FindEventInterface(IUnknown* control, IID* eventInterface) {
  if (!control || !eventInterface) return E_POINTER;
  *eventInterface = GUID_NULL;
  const HRESULT first = FromClassInfo2(control, eventInterface);
  if (SUCCEEDED(first)) return first;
  const HRESULT second = FromTypeInfo(control, eventInterface);
  if (SUCCEEDED(second)) return second;
  // The first way's reason is the more telling one when the control offers it.
  return first == E_NOINTERFACE ? second : first;
}

}  // namespace component

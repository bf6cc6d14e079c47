#pragma once
// A proxy in front of the real control that writes down every call it passes
// on, and can make chosen calls fail or answer a get itself. Other interfaces
// (events, class info) are the control's own.

#include <windows.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <vector>

#include "common/com_object.h"
#include "common/variant.h"

namespace support {

class RecordingProxy final : public common::ComObject<IDispatch, IOleObject, IPersistPropertyBag> {
 public:
  explicit RecordingProxy(common::ComPtr<IDispatch> control);

  // Every call, in order: "let ToolTipText VT_BSTR text", "get Icon",
  // "putref Icon VT_DISPATCH", "call ShowIcon"; a put whose value is not the
  // named DISPID_PROPERTYPUT argument ends in " (unnamed)", and a call with
  // other arguments than its kind takes says how many. Host steps appear as
  // "SetClientSite", "SetClientSite(null)", "Load", "Close".
  std::vector<std::wstring> calls;

  // Every later call of `member` (a member or step name as written above)
  // fails with `hr`; given a description, as the automation exception
  // DISP_E_EXCEPTION whose EXCEPINFO carries `hr` and the description.
  void Fail(const std::wstring& member, HRESULT hr, const std::wstring& description = {}) {
    failures_[member] = {hr, description};
  }
  // Later gets of `member` are answered with `value`; the control is not asked.
  void Answer(const std::wstring& member, VARIANT value) { ::VariantCopy(answers_[member].put(), &value); }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return control_->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return control_->GetTypeInfo(index, locale, info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return control_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  STDMETHODIMP GetClassID(CLSID* clsid) override { return bag()->GetClassID(clsid); }
  STDMETHODIMP InitNew() override { return bag()->InitNew(); }
  STDMETHODIMP Load(IPropertyBag* properties, IErrorLog* log) override {
    calls.push_back(L"Load");
    const HRESULT planned = PlannedFailure(L"Load", nullptr);
    return FAILED(planned) ? planned : bag()->Load(properties, log);
  }
  STDMETHODIMP Save(IPropertyBag* properties, BOOL clear, BOOL all) override { return bag()->Save(properties, clear, all); }

  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    calls.push_back(site ? L"SetClientSite" : L"SetClientSite(null)");
    return ole()->SetClientSite(site);
  }
  STDMETHODIMP Close(DWORD option) override {
    calls.push_back(L"Close");
    return ole()->Close(option);
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override { return ole()->GetClientSite(site); }
  STDMETHODIMP SetHostNames(LPCOLESTR a, LPCOLESTR o) override { return ole()->SetHostNames(a, o); }
  STDMETHODIMP SetMoniker(DWORD w, IMoniker* m) override { return ole()->SetMoniker(w, m); }
  STDMETHODIMP GetMoniker(DWORD a, DWORD w, IMoniker** m) override { return ole()->GetMoniker(a, w, m); }
  STDMETHODIMP InitFromData(IDataObject* d, BOOL c, DWORD r) override { return ole()->InitFromData(d, c, r); }
  STDMETHODIMP GetClipboardData(DWORD r, IDataObject** d) override { return ole()->GetClipboardData(r, d); }
  STDMETHODIMP DoVerb(LONG v, LPMSG m, IOleClientSite* s, LONG i, HWND p, LPCRECT r) override {
    return ole()->DoVerb(v, m, s, i, p, r);
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** v) override { return ole()->EnumVerbs(v); }
  STDMETHODIMP Update() override { return ole()->Update(); }
  STDMETHODIMP IsUpToDate() override { return ole()->IsUpToDate(); }
  STDMETHODIMP GetUserClassID(CLSID* c) override { return ole()->GetUserClassID(c); }
  STDMETHODIMP GetUserType(DWORD f, LPOLESTR* n) override { return ole()->GetUserType(f, n); }
  STDMETHODIMP SetExtent(DWORD a, SIZEL* s) override { return ole()->SetExtent(a, s); }
  STDMETHODIMP GetExtent(DWORD a, SIZEL* s) override { return ole()->GetExtent(a, s); }
  STDMETHODIMP Advise(IAdviseSink* s, DWORD* c) override { return ole()->Advise(s, c); }
  STDMETHODIMP Unadvise(DWORD c) override { return ole()->Unadvise(c); }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** e) override { return ole()->EnumAdvise(e); }
  STDMETHODIMP GetMiscStatus(DWORD a, DWORD* s) override { return ole()->GetMiscStatus(a, s); }
  STDMETHODIMP SetColorScheme(LOGPALETTE* p) override { return ole()->SetColorScheme(p); }

 protected:
  void* QueryExtra(REFIID iid) override;

 private:
  struct Failure {
    HRESULT hr;
    std::wstring description;
  };
  IOleObject* ole() const { return ole_.get(); }
  IPersistPropertyBag* bag() const { return bag_.get(); }
  std::wstring NameOf(DISPID id) const;
  // The failure planned for `member`, as `exception` reports it; S_OK when none.
  HRESULT PlannedFailure(const std::wstring& member, EXCEPINFO* exception) const;

  common::ComPtr<IDispatch> control_;
  common::ComPtr<IOleObject> ole_;
  common::ComPtr<IPersistPropertyBag> bag_;
  common::ComPtr<ITypeInfo> typeInfo_;
  std::map<std::wstring, Failure> failures_;
  std::map<std::wstring, common::UniqueVariant> answers_;
};

}  // namespace support

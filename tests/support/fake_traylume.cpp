#include "tests/support/fake_traylume.h"

#include <oleauto.h>

#include <cstdio>
#include <new>
#include <utility>

#include "common/bstr.h"
#include "common/dispatch_args.h"
#include "common/foreign_variant.h"
#include "common/hresult.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "tests/support/test_pictures.h"

namespace fakes {
namespace {

namespace dispid = contract::dispid;

// The members the fake answers, by dispatch id, and what may be done to each.
struct Member {
  DISPID id;
  const wchar_t* name;
  bool get;
  bool let;
  bool putRef;
  bool method;
};

constexpr Member kMembers[] = {
    {dispid::kBalloonSupported, L"BalloonSupported", true, false, false, false},
    {dispid::kBalloonText, L"BalloonText", false, true, false, false},
    {dispid::kAutoRefresh, L"AutoRefresh", false, true, false, false},
    {dispid::kBalloonSound, L"BalloonSound", false, true, false, false},
    {dispid::kBalloon, L"Balloon", false, true, false, false},
    {dispid::kBalloonTitle, L"BalloonTitle", false, true, false, false},
    {dispid::kToolTipText, L"ToolTipText", false, true, false, false},
    {dispid::kBalloonIcon, L"BalloonIcon", false, true, false, false},
    {dispid::kIcon, L"Icon", true, false, true, false},
    {dispid::kRefresh, L"Refresh", false, false, false, true},
    {dispid::kShowIcon, L"ShowIcon", false, false, false, true},
    {dispid::kHideIcon, L"HideIcon", false, false, false, true},
};

const Member* FindMember(DISPID id) {
  for (const Member& member : kMembers) {
    if (member.id == id) return &member;
  }
  return nullptr;
}

std::wstring Hex(unsigned long value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", value);
  return text;
}

std::wstring TypeName(VARTYPE type) {
  static const std::pair<VARTYPE, const wchar_t*> kNames[] = {
      {VT_EMPTY, L"VT_EMPTY"},   {VT_NULL, L"VT_NULL"},   {VT_I2, L"VT_I2"},       {VT_I4, L"VT_I4"},
      {VT_R4, L"VT_R4"},         {VT_R8, L"VT_R8"},       {VT_CY, L"VT_CY"},       {VT_DATE, L"VT_DATE"},
      {VT_BSTR, L"VT_BSTR"},     {VT_DISPATCH, L"VT_DISPATCH"}, {VT_ERROR, L"VT_ERROR"}, {VT_BOOL, L"VT_BOOL"},
      {VT_VARIANT, L"VT_VARIANT"}, {VT_UNKNOWN, L"VT_UNKNOWN"}, {VT_I1, L"VT_I1"}, {VT_UI1, L"VT_UI1"},
      {VT_UI2, L"VT_UI2"},       {VT_UI4, L"VT_UI4"},     {VT_I8, L"VT_I8"},       {VT_UI8, L"VT_UI8"},
      {VT_INT, L"VT_INT"},       {VT_UINT, L"VT_UINT"},
  };
  const VARTYPE base = type & VT_TYPEMASK;
  std::wstring name = L"VT_" + Hex(base);
  for (const auto& [value, text] : kNames) {
    if (value == base) name = text;
  }
  if (type & VT_ARRAY) name += L"|VT_ARRAY";
  if (type & VT_BYREF) name += L"|VT_BYREF";
  return name;
}

}  // namespace

std::wstring Describe(const VARIANT& value) {
  std::wstring text = TypeName(V_VT(&value));
  if (V_VT(&value) & VT_ARRAY) return text;
  if ((V_VT(&value) & VT_BYREF) && !V_BYREF(&value)) return text + L" null";
  common::UniqueVariant direct;
  if (FAILED(::VariantCopyInd(direct.get(), const_cast<VARIANT*>(&value)))) return text;
  switch (direct.type()) {
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (!V_UNKNOWN(direct.get())) text += L" null";
      return text;
    case VT_EMPTY:
    case VT_NULL:
      return text;
    case VT_BSTR:
      return text + L" " + std::wstring(V_BSTR(direct.get()) ? V_BSTR(direct.get()) : L"",
                                        ::SysStringLen(V_BSTR(direct.get())));
    default: {
      common::UniqueVariant shown;
      if (FAILED(::VariantChangeType(shown.get(), direct.get(), 0, VT_BSTR))) return text;
      return text + L" " + std::wstring(V_BSTR(shown.get()), ::SysStringLen(V_BSTR(shown.get())));
    }
  }
}

namespace {

// The deferred part of a failure's EXCEPINFO.
HRESULT STDAPICALLTYPE FillDeferred(EXCEPINFO* exception) {
  exception->bstrSource = ::SysAllocString(L"FakeTraylume");
  exception->bstrDescription = ::SysAllocString(FakeTraylume::kDeferredDescription);
  return S_OK;
}

// The type information a type library would hold for the fake's class: a
// default interface, a non-default source, and the event dispinterface as
// the default source, so a host must read the flags to find it.
HRESULT BuildClassInfo(ITypeInfo** out) {
  // {E2B6AC15-5D38-4E59-9C29-0F6F54C2B3A1}, {3C41C6A8-3C1E-4C27-A0D8-6A1C71B9E0F2},
  // {5A0E6E2C-7F02-4D4B-8C4A-2D8F8F0B9B13}: library, default and other source.
  static constexpr GUID kLibrary = {0xe2b6ac15, 0x5d38, 0x4e59, {0x9c, 0x29, 0x0f, 0x6f, 0x54, 0xc2, 0xb3, 0xa1}};
  static constexpr GUID kDefault = {0x3c41c6a8, 0x3c1e, 0x4c27, {0xa0, 0xd8, 0x6a, 0x1c, 0x71, 0xb9, 0xe0, 0xf2}};
  static constexpr GUID kOtherSource = {0x5a0e6e2c, 0x7f02, 0x4d4b, {0x8c, 0x4a, 0x2d, 0x8f, 0x8f, 0x0b, 0x9b, 0x13}};

  common::ComPtr<ITypeLib> stdole;
  RETURN_IF_FAILED(::LoadTypeLib(L"stdole2.tlb", stdole.put()));
  common::ComPtr<ITypeInfo> dispatchInfo;
  RETURN_IF_FAILED(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatchInfo.put()));

  common::ComPtr<ICreateTypeLib2> library;
  RETURN_IF_FAILED(::CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, L"fake_traylume.tlb", library.put()));
  RETURN_IF_FAILED(library->SetGuid(kLibrary));
  RETURN_IF_FAILED(library->SetName(const_cast<LPOLESTR>(L"FakeTraylumeLib")));

  auto dispinterface = [&](const wchar_t* name, const GUID& guid, common::ComPtr<ITypeInfo>* info) -> HRESULT {
    common::ComPtr<ICreateTypeInfo> create;
    RETURN_IF_FAILED(library->CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_DISPATCH, create.put()));
    RETURN_IF_FAILED(create->SetGuid(guid));
    HREFTYPE base = 0;
    RETURN_IF_FAILED(create->AddRefTypeInfo(dispatchInfo.get(), &base));
    RETURN_IF_FAILED(create->AddImplType(0, base));
    RETURN_IF_FAILED(create->LayOut());
    return create.As(info);
  };
  common::ComPtr<ITypeInfo> defaultInfo, otherInfo, eventInfo;
  RETURN_IF_FAILED(dispinterface(L"IFakeTraylume", kDefault, &defaultInfo));
  RETURN_IF_FAILED(dispinterface(L"IFakeTraylumeOtherEvents", kOtherSource, &otherInfo));
  RETURN_IF_FAILED(dispinterface(L"IFakeTraylumeEvents", kFakeTraylumeEventsIid, &eventInfo));

  common::ComPtr<ICreateTypeInfo> coclass;
  RETURN_IF_FAILED(library->CreateTypeInfo(const_cast<LPOLESTR>(L"FakeTraylume"), TKIND_COCLASS, coclass.put()));
  RETURN_IF_FAILED(coclass->SetGuid(kFakeTraylumeClsid));
  RETURN_IF_FAILED(coclass->SetTypeFlags(TYPEFLAG_FCANCREATE));
  const std::pair<ITypeInfo*, INT> kImplemented[] = {
      {defaultInfo.get(), IMPLTYPEFLAG_FDEFAULT},
      {otherInfo.get(), IMPLTYPEFLAG_FSOURCE},
      {eventInfo.get(), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
  };
  UINT index = 0;
  for (const auto& [info, flags] : kImplemented) {
    HREFTYPE reference = 0;
    RETURN_IF_FAILED(coclass->AddRefTypeInfo(info, &reference));
    RETURN_IF_FAILED(coclass->AddImplType(index, reference));
    RETURN_IF_FAILED(coclass->SetImplTypeFlags(index, flags));
    ++index;
  }
  RETURN_IF_FAILED(coclass->LayOut());
  common::ComPtr<ITypeInfo> result;
  RETURN_IF_FAILED(coclass.As(&result));
  *out = result.release();
  return S_OK;
}

}  // namespace

// The connection point of the fake's event interface. It keeps the fake
// alive while a host holds it; the fake holds only the sinks.
class FakeConnectionPoint : public common::ComObject<IConnectionPoint> {
 public:
  explicit FakeConnectionPoint(common::ComPtr<FakeTraylume> owner) : owner_(std::move(owner)) {}

  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = kFakeTraylumeEventsIid;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (!container) return E_POINTER;
    return owner_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container));
  }
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override { return owner_->AddSink(sink, cookie); }
  STDMETHODIMP Unadvise(DWORD cookie) override { return owner_->RemoveSink(cookie); }
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
  }

 protected:
  ~FakeConnectionPoint() override = default;

 private:
  common::ComPtr<FakeTraylume> owner_;
};

common::ComPtr<FakeTraylume> MakeFakeTraylume(COLORREF iconColor) {
  // Not common::make: the constructor is for this function only.
  common::ComPtr<FakeTraylume> fake(new (std::nothrow) FakeTraylume());
  if (fake) fake->icon = testing_support::SolidIconPicture(iconColor, 32);
  return fake;
}

FakeTraylume::FakeTraylume() = default;
FakeTraylume::~FakeTraylume() = default;

void* FakeTraylume::QueryExtra(REFIID iid) {
  if (iid == IID_IPersist) return static_cast<IPersistPropertyBag*>(this);
  if (iid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
  return nullptr;
}

void FakeTraylume::FailOn(DISPID dispid, std::wstring description) {
  FailWith(dispid, FailureKind::kExcepInfo, E_FAIL, std::move(description));
}

void FakeTraylume::FailWith(DISPID dispid, FailureKind kind, HRESULT hr, std::wstring description) {
  failures_[dispid] = Failure{kind, hr, std::move(description)};
}

HRESULT FakeTraylume::Fail(const Failure& failure, EXCEPINFO* exception) {
  switch (failure.kind) {
    case FailureKind::kExcepInfo:
      if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = failure.hr;
        exception->bstrSource = ::SysAllocString(L"FakeTraylume");
        exception->bstrDescription =
            ::SysAllocStringLen(failure.description.data(), static_cast<UINT>(failure.description.size()));
      }
      return DISP_E_EXCEPTION;
    case FailureKind::kDeferredExcepInfo:
      if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = failure.hr;
        exception->pfnDeferredFillIn = &FillDeferred;
      }
      return DISP_E_EXCEPTION;
    case FailureKind::kErrorInfo: {
      common::ComPtr<ICreateErrorInfo> create;
      if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
        create->SetGUID(IID_IDispatch);
        create->SetSource(const_cast<LPOLESTR>(L"FakeTraylume"));
        create->SetDescription(const_cast<LPOLESTR>(failure.description.c_str()));
        common::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.get());
      }
      return failure.hr;
    }
    case FailureKind::kPlainHresult:
      return failure.hr;
  }
  return failure.hr;
}

void FakeTraylume::Fire(DISPID dispid, std::optional<short> button, bool byReference) {
  short value = button.value_or(0);
  VARIANT argument;
  ::VariantInit(&argument);
  if (byReference) {
    V_VT(&argument) = VT_I2 | VT_BYREF;
    V_I2REF(&argument) = &value;
  } else {
    V_VT(&argument) = VT_I2;
    V_I2(&argument) = value;
  }
  DISPPARAMS params{};
  if (button) {
    params.rgvarg = &argument;
    params.cArgs = 1;
  }
  Raise(dispid, &params);
}

HRESULT FakeTraylume::Raise(DISPID dispid, DISPPARAMS* params) {
  // A handler may unadvise: call the sinks advised when the event began.
  std::vector<common::ComPtr<IDispatch>> sinks;
  for (const auto& [cookie, sink] : sinks_) sinks.push_back(sink);
  HRESULT first = S_OK;
  for (const auto& sink : sinks) {
    UINT argError = 0;
    const HRESULT hr =
        sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, &argError);
    if (FAILED(hr) && SUCCEEDED(first)) first = hr;
  }
  return first;
}

size_t FakeTraylume::SinkCount() const { return sinks_.size(); }

ULONG FakeTraylume::References() {
  AddRef();
  return Release();
}

HRESULT FakeTraylume::AddSink(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  log.push_back(L"advise");
  // As a real control does: the sink must answer the event interface.
  common::ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(kFakeTraylumeEventsIid, events.put_void())) || !events) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_[*cookie] = std::move(events);
  return S_OK;
}

HRESULT FakeTraylume::RemoveSink(DWORD cookie) {
  log.push_back(L"unadvise");
  if (keepSinksOnUnadvise) return S_OK;
  return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

// IDispatch

STDMETHODIMP FakeTraylume::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP FakeTraylume::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

// Names are not answered: the program must reach members by dispatch id.
STDMETHODIMP FakeTraylume::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
  for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
  log.push_back(L"getidsofnames");
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP FakeTraylume::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT*) {
  DISPPARAMS none{};
  if (!params) params = &none;
  const Member* member = FindMember(id);
  const std::wstring name = member ? member->name : Hex(static_cast<unsigned long>(id));

  std::wstring kind;
  if (flags & DISPATCH_PROPERTYPUTREF) {
    kind = L"putref";
  } else if (flags & DISPATCH_PROPERTYPUT) {
    kind = L"let";
  } else if ((flags & DISPATCH_METHOD) && (!member || member->method || !(flags & DISPATCH_PROPERTYGET))) {
    kind = L"call";
  } else {
    kind = L"get";
  }
  const bool put = kind == L"let" || kind == L"putref";
  const VARIANT* value = nullptr;
  if (put) common::PropertyPutArgument(*params, &value, nullptr);
  std::wstring line = kind + L" " + name;
  if (put) line += value ? L" " + Describe(*value) : L" (no value)";
  if (!put && params->cArgs > 0) line += L" (" + std::to_wstring(params->cArgs) + L" arguments)";
  log.push_back(line);

  if (!member) return DISP_E_MEMBERNOTFOUND;
  const bool allowed = (kind == L"get" && member->get) || (kind == L"let" && member->let) ||
                       (kind == L"putref" && member->putRef) || (kind == L"call" && member->method);
  if (!allowed) return DISP_E_MEMBERNOTFOUND;
  if (put && (!value || params->cArgs != 1)) return DISP_E_PARAMNOTFOUND;
  if (!put && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
  if (auto failure = failures_.find(id); failure != failures_.end()) return Fail(failure->second, exception);

  if (kind == L"putref") {
    common::ComPtr<IUnknown> object;
    if (FAILED(common::ReadObject(*value, &object))) return DISP_E_TYPEMISMATCH;
    common::ComPtr<IPictureDisp> picture;
    if (IUnknown* dispatch = object.get()) {
      if (FAILED(dispatch->QueryInterface(IID_IPictureDisp, picture.put_void()))) return DISP_E_TYPEMISMATCH;
    }
    icon = std::move(picture);
    return S_OK;
  }
  if (kind == L"get") {
    if (!result) return E_POINTER;
    ::VariantInit(result);
    if (id == dispid::kBalloonSupported) {
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = balloonSupported ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (id == dispid::kIcon && !iconIsEmpty) {
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = common::ComPtr<IPictureDisp>(icon).release();
    }
    return S_OK;
  }
  return S_OK;  // a let, already logged, or a method call
}

// IPersistPropertyBag

STDMETHODIMP FakeTraylume::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = kFakeTraylumeClsid;
  return S_OK;
}

STDMETHODIMP FakeTraylume::InitNew() {
  log.push_back(L"initnew");
  return S_OK;
}

STDMETHODIMP FakeTraylume::Load(IPropertyBag* bag, IErrorLog* errors) {
  if (!bag) return E_POINTER;
  // Each value taken as the bag holds it (VT_EMPTY asks for no conversion).
  for (const wchar_t* key : {L"_extentx", L"_extenty", L"icon", L"tooltiptext"}) {
    common::UniqueVariant value;
    if (FAILED(bag->Read(key, value.get(), errors))) value.reset();
    log.push_back(L"bag " + std::wstring(key) + L" " + Describe(*value.get()));
    const std::wstring_view name = key;
    if (name == L"icon" && value.type() == VT_DISPATCH && V_DISPATCH(value.get())) {
      V_DISPATCH(value.get())->QueryInterface(IID_IPictureDisp, loadedIcon.put_void());
    }
    if (name == L"tooltiptext" && value.type() == VT_BSTR) {
      loadedToolTipText.assign(V_BSTR(value.get()), ::SysStringLen(V_BSTR(value.get())));
    }
  }
  return S_OK;
}

STDMETHODIMP FakeTraylume::Save(IPropertyBag*, BOOL, BOOL) { return E_NOTIMPL; }

// IOleObject

STDMETHODIMP FakeTraylume::SetClientSite(IOleClientSite* site) {
  log.push_back(site ? L"setclientsite" : L"setclientsite null");
  clientSite = common::ComPtr<IOleClientSite>(site);
  return S_OK;
}

STDMETHODIMP FakeTraylume::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  return clientSite.CopyTo(site);
}

STDMETHODIMP FakeTraylume::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP FakeTraylume::Close(DWORD) {
  log.push_back(L"close");
  return S_OK;
}

STDMETHODIMP FakeTraylume::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP FakeTraylume::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP FakeTraylume::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) { return E_NOTIMPL; }

STDMETHODIMP FakeTraylume::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs) *verbs = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::Update() { return S_OK; }
STDMETHODIMP FakeTraylume::IsUpToDate() { return S_OK; }

STDMETHODIMP FakeTraylume::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP FakeTraylume::GetUserType(DWORD, LPOLESTR* name) {
  if (name) *name = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP FakeTraylume::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP FakeTraylume::Advise(IAdviseSink*, DWORD* connection) {
  if (connection) *connection = 0;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::Unadvise(DWORD) { return E_NOTIMPL; }

STDMETHODIMP FakeTraylume::EnumAdvise(IEnumSTATDATA** advises) {
  if (advises) *advises = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? miscStatus : 0;
  return S_OK;
}

STDMETHODIMP FakeTraylume::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// IProvideClassInfo2

STDMETHODIMP FakeTraylume::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  return BuildClassInfo(info);
}

STDMETHODIMP FakeTraylume::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  if (!answerDefaultSourceGuid) return E_NOTIMPL;
  *guid = kFakeTraylumeEventsIid;
  return S_OK;
}

// IConnectionPointContainer

STDMETHODIMP FakeTraylume::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeTraylume::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != kFakeTraylumeEventsIid) return CONNECT_E_NOCONNECTION;
  auto connection = common::make<FakeConnectionPoint>(common::ComPtr<FakeTraylume>(this));
  if (!connection) return E_OUTOFMEMORY;
  *point = connection.release();
  return S_OK;
}

}  // namespace fakes

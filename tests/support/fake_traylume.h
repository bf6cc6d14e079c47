#pragma once
// A recording stand-in for a Traylume control, for tests of the program.
// It answers what a form host and the program use (IDispatch by dispatch
// id, IPersistPropertyBag, IOleObject, IProvideClassInfo2,
// IConnectionPointContainer) and writes every call it receives, in order,
// as one line of text to its log, so a test can assert the exact sequence:
//
//   "bag _extentx VT_I4 847"            one per key read in Load, in order
//   "bag icon VT_DISPATCH"              (a picture; "VT_EMPTY" etc. if not)
//   "bag tooltiptext VT_BSTR ツールチップのテストです。"
//   "let BalloonIcon VT_I4 0"           DISPATCH_PROPERTYPUT
//   "let ToolTipText VT_BSTR a\r\nb"    strings verbatim (CR LF stay as is)
//   "let Balloon VT_BOOL -1"            Booleans as -1 / 0
//   "putref Icon VT_DISPATCH"           DISPATCH_PROPERTYPUTREF
//   "get BalloonSupported"              DISPATCH_PROPERTYGET
//   "get Icon"
//   "call ShowIcon"                     DISPATCH_METHOD
//   "setclientsite", "setclientsite null", "close", "advise", "unadvise"
//
// Members are named by their dispatch id (the fake never uses names to
// dispatch). Values for "get": BalloonSupported is `balloonSupported`, Icon
// is the last picture put by reference, else `icon` (a 32 x 32 picture the
// fake makes, filled with `iconColor`, unless a test replaces it).
//
// More detail in the log, only where something is off: a value's type shows
// "|VT_BYREF" when passed by reference and a null object shows " null"; a
// put without its value reads "let X (no value)"; an unknown dispatch id is
// named in hex ("get 0x12345678"); "initnew" when IPersistPropertyBag::
// InitNew is called.
//
// The fake has its own class id and its own event interface id, so a host
// that works with it finds both at run time rather than by knowing them.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/com_object.h"

namespace fakes {

// {4D0D0557-8E80-4986-986D-333ABEAC90DD}
inline constexpr CLSID kFakeTraylumeClsid = {
    0x4d0d0557, 0x8e80, 0x4986, {0x98, 0x6d, 0x33, 0x3a, 0xbe, 0xac, 0x90, 0xdd}};
// {91F322F5-8994-435C-9BD1-357C3DF66267}: the fake's event dispinterface.
inline constexpr IID kFakeTraylumeEventsIid = {
    0x91f322f5, 0x8994, 0x435c, {0x9b, 0xd1, 0x35, 0x7c, 0x3d, 0xf6, 0x62, 0x67}};

class FakeTraylume;
class FakeConnectionPoint;

// A value as the fake's log writes it: "VT_I4 847", "VT_BSTR text",
// "VT_BOOL -1", "VT_DISPATCH", "VT_DISPATCH null", "VT_BOOL|VT_BYREF -1".
std::wstring Describe(const VARIANT& value);

// Makes a fake with a solid 32 x 32 icon picture of `iconColor`.
common::ComPtr<FakeTraylume> MakeFakeTraylume(COLORREF iconColor = RGB(255, 0, 0));

class FakeTraylume
    : public common::ComObject<IDispatch, IPersistPropertyBag, IOleObject, IProvideClassInfo2,
                               IConnectionPointContainer> {
 public:
  // What the fake has received, one line per call (format above).
  std::vector<std::wstring> log;
  // Forgets what was logged so far (for tests of one handler).
  void ClearLog() { log.clear(); }

  bool balloonSupported = true;
  common::ComPtr<IPictureDisp> icon;  // answered by "get Icon"
  bool iconIsEmpty = false;           // "get Icon" answers VT_EMPTY (no picture)

  // Makes the access to `dispid` fail with DISP_E_EXCEPTION and an EXCEPINFO
  // whose description is `description`.
  void FailOn(DISPID dispid, std::wstring description);

  // Raises event `dispid` (1..7) to every advised sink; `button` is passed
  // as VT_I2|VT_BYREF, or as VT_I2 by value when `byReference` is false.
  void Fire(DISPID dispid, std::optional<short> button = std::nullopt, bool byReference = true);

  // Number of sinks advised now.
  size_t SinkCount() const;

  // The fake's own reference count, for leak checks: AddRef + Release.
  ULONG References();

  // --- Further knobs and records for tests of the host itself. ---

  // How a failing access reports itself (FailWith).
  enum class FailureKind {
    kExcepInfo,          // DISP_E_EXCEPTION, EXCEPINFO filled at once (scode = hr)
    kDeferredExcepInfo,  // DISP_E_EXCEPTION, description left to pfnDeferredFillIn
    kErrorInfo,          // returns hr, description in the thread's IErrorInfo
    kPlainHresult,       // returns hr, nothing else
  };
  void FailWith(DISPID dispid, FailureKind kind, HRESULT hr, std::wstring description = {});
  // The description that pfnDeferredFillIn writes.
  static constexpr const wchar_t* kDeferredDescription = L"あとから埋めた説明です。";

  // What IOleObject::GetMiscStatus answers.
  DWORD miscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME;
  // false: IProvideClassInfo2::GetGUID fails (E_NOTIMPL), so a host must
  // find the event interface in the type info of GetClassInfo.
  bool answerDefaultSourceGuid = true;
  // true: Unadvise forgets nothing, so the sink keeps being called (a
  // control that holds on to its sinks).
  bool keepSinksOnUnadvise = false;

  // What the host gave: the client site, and the values Load read.
  common::ComPtr<IOleClientSite> clientSite;
  common::ComPtr<IPictureDisp> loadedIcon;
  std::wstring loadedToolTipText;

  // Calls Invoke(dispid, params) on every advised sink; the first failure.
  HRESULT Raise(DISPID dispid, DISPPARAMS* params);

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // IPersist / IPersistPropertyBag
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP InitNew() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* errors) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index, HWND parent,
                      LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* name) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // IProvideClassInfo / IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

 protected:
  FakeTraylume();
  ~FakeTraylume() override;
  void* QueryExtra(REFIID iid) override;
  friend common::ComPtr<FakeTraylume> MakeFakeTraylume(COLORREF);

 private:
  friend class FakeConnectionPoint;
  struct Failure {
    FailureKind kind;
    HRESULT hr;
    std::wstring description;
  };

  HRESULT AddSink(IUnknown* sink, DWORD* cookie);
  HRESULT RemoveSink(DWORD cookie);
  HRESULT Fail(const Failure& failure, EXCEPINFO* exception);

  std::map<DISPID, Failure> failures_;
  std::map<DWORD, common::ComPtr<IDispatch>> sinks_;
  DWORD nextCookie_ = 1;
  SIZEL extent_{847, 847};
};

}  // namespace fakes

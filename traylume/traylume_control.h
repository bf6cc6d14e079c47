#pragma once
// The Traylume control: one notification area icon with tooltip and
// balloon, driven through IDispatch by the ids of its type library, raising
// its mouse and balloon events to the sinks of its one connection point,
// and hosted by forms through IOleObject and IPersistPropertyBag. Form
// designers draw it through IViewObject2 and tell it design time from run
// time through IOleControl; IObjectSafety says it is safe to initialise
// from untrusted data but not to script. Every method but IUnknown's
// answers only on the thread that created it.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "common/com_object.h"
#include "common/interface_ids.h"
#include "traylume/class_identity.h"
#include "traylume/event_sinks.h"
#include "traylume/control_error.h"
#include "traylume/home_thread.h"
#include "traylume/notify_icon.h"
#include "traylume/tray_icon.h"
#include "traylume/tray_window.h"

namespace traylume {

struct DispatchMember;

class TraylumeControl final
    : public common::ComObject<IDispatch, IProvideClassInfo2, IConnectionPointContainer, IPersistPropertyBag,
                               IPersistStreamInit, IOleObject, IViewObject2, IOleControl, IObjectSafety,
                               ISupportErrorInfo>,
      private TrayWindowListener {
 public:
  TraylumeControl();

  // Creates the hidden window and the default icon; the control is usable
  // only when this succeeds.
  HRESULT Initialize();

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // IProvideClassInfo / IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // IPersist, IPersistPropertyBag, IPersistStreamInit
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP InitNew() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* errors) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(IStream* stream) override;
  STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

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

  // IViewObject / IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectData, DVTARGETDEVICE* device, HDC deviceInfo, HDC dc,
                    LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* keepDrawing)(ULONG_PTR),
                    ULONG_PTR keepDrawingArgument) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectData, DVTARGETDEVICE* device, HDC deviceInfo,
                           LOGPALETTE** colors) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectData, DWORD* freeze) override;
  STDMETHODIMP Unfreeze(DWORD freeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* message) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // IObjectSafety
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

 protected:
  ~TraylumeControl() override;
  void* QueryExtra(REFIID iid) override;

 private:
  static const DispatchMember kMembers[];
  static const DispatchMember* FindMember(DISPID id);
  HRESULT InvokeGet(const DispatchMember& member, const DISPPARAMS& params, VARIANT* result);
  HRESULT InvokePut(const DispatchMember& member, WORD flags, const DISPPARAMS& params, ControlError* error,
                    UINT* argError);
  HRESULT InvokeMethod(const DispatchMember& member, const DISPPARAMS& params, ControlError* error);

  // Everything a member put can change, to put back when the put fails.
  struct State {
    NotifyIcon::Settings tray;
    bool autoRefresh = false;
    common::ComPtr<IPictureDisp> picture;
    bool dirty = false;
  };
  State CurrentState() const;
  void RestoreState(State state);

  // Member handlers: gets fill a VARIANT; puts take the value already
  // coerced to the member's type; a failure the user reads goes through
  // Fail (traylume/control_error.h).
  HRESULT GetBalloonSupported(VARIANT* value);
  HRESULT GetBalloonText(VARIANT* value);
  HRESULT PutBalloonText(const VARIANT& value, ControlError* error);
  HRESULT GetAutoRefresh(VARIANT* value);
  HRESULT PutAutoRefresh(const VARIANT& value, ControlError* error);
  HRESULT GetBalloonSound(VARIANT* value);
  HRESULT PutBalloonSound(const VARIANT& value, ControlError* error);
  HRESULT GetBalloon(VARIANT* value);
  HRESULT PutBalloon(const VARIANT& value, ControlError* error);
  HRESULT GetBalloonTitle(VARIANT* value);
  HRESULT PutBalloonTitle(const VARIANT& value, ControlError* error);
  HRESULT GetToolTipText(VARIANT* value);
  HRESULT PutToolTipText(const VARIANT& value, ControlError* error);
  HRESULT GetBalloonIcon(VARIANT* value);
  HRESULT PutBalloonIcon(const VARIANT& value, ControlError* error);
  HRESULT GetIcon(VARIANT* value);
  HRESULT PutIcon(const VARIANT& value, ControlError* error);
  HRESULT CallRefresh(ControlError* error);
  HRESULT CallShowIcon(ControlError* error);
  HRESULT CallHideIcon(ControlError* error);

  // A tray setting changed: applied at once while AutoRefresh is on.
  HRESULT Changed(ControlError* error);
  // The balloon's title, text, kind or sound changed: while it is up, such
  // changes are applied together once they stop coming for a moment.
  HRESULT BalloonChanged(ControlError* error);
  // What a step that talked to the shell gives its caller: its failure,
  // described by `text`. The control then follows the icon's wait for a
  // task bar.
  HRESULT ShellStep(HRESULT hr, const wchar_t* text, ControlError* error);
  // Starts or stops retrying to add the icon as it starts or stops waiting
  // for a task bar.
  void WatchForTaskBar();
  // Creates the hidden window when the control has none (it was closed).
  HRESULT EnsureWindow();
  // Checks `picture` and makes its tray icon; a null picture is the default.
  HRESULT PrepareIcon(common::ComPtr<IPictureDisp> picture, SharedTrayIcon* trayIcon, ControlError* error);
  void UseIcon(common::ComPtr<IPictureDisp> picture, SharedTrayIcon trayIcon);
  // The picture Icon gives: the host's, or the control's own.
  const common::ComPtr<IPictureDisp>& ShownPicture() const { return picture_ ? picture_ : defaultPicture_; }
  // Tells the container's view sink that the control looks different.
  void ViewChanged();
  // Follows the site's UserMode ambient: at design time (False) nothing
  // reaches the shell, and a shown icon goes.
  void FollowUserMode();
  // Removes the icon and the window: no icon outlives its control.
  void Shutdown();
  void RaiseEvent(DISPID id, std::optional<short> button = std::nullopt);

  // What IPersistPropertyBag and IPersistStreamInit load and save.
  struct SavedProperties {
    SIZEL extent{};
    common::ComPtr<IPictureDisp> icon;  // null: the default icon
    SharedTrayIcon trayIcon;
    std::wstring toolTip;
  };
  SavedProperties CurrentProperties() const;
  void UseProperties(SavedProperties properties);
  void ResetToInitialValues();
  HRESULT ReadBag(IPropertyBag* bag, IErrorLog* errors, SavedProperties* properties);
  HRESULT ReadStream(IStream* stream, SavedProperties* properties);
  HRESULT WriteStream(IStream* stream);

  // TrayWindowListener
  void OnNotifyIconMessage(UINT message) override;
  void OnTaskbarCreated() override;
  void OnTimer(UINT_PTR timer) override;
  void OnWindowDestroyed() override;

  HomeThread home_;
  bool designTime_ = false;
  long eventsFrozen_ = 0;  // IOleControl::FreezeEvents nesting
  bool safeForUntrustedData_ = false;  // as IObjectSafety was last told
  common::ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  TrayWindow window_;
  NotifyIcon tray_;
  EventSinks sinks_;
  bool autoRefresh_ = false;
  common::ComPtr<IPictureDisp> picture_;  // set by the user; null: the default
  common::ComPtr<IPictureDisp> defaultPicture_;
  SharedTrayIcon defaultTrayIcon_;
  bool watchingForTaskBar_ = false;
  int taskBarRetriesLeft_ = 0;
  SIZEL extent_{};
  bool dirty_ = false;
  common::ComPtr<IOleClientSite> site_;
  common::ComPtr<IOleAdviseHolder> adviseHolder_;
};

// The create function of the class factory's table.
HRESULT CreateTraylumeControl(REFIID iid, void** object);

}  // namespace traylume

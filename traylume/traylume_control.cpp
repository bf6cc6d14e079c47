#include "traylume/traylume_control.h"

#include <iterator>

#include "common/hresult.h"
#include "contract/traylume_contract.h"
#include "traylume/connection_point.h"
#include "traylume/pictures.h"
#include "traylume/type_library.h"
#include "traylume/user_texts.h"

namespace traylume {
namespace {

// What each tray callback becomes: the event and its button code.
struct CallbackEvent {
  UINT message;
  DISPID event;
  short button;  // 0: the event has no Button argument
};

constexpr CallbackEvent kCallbackEvents[] = {
    {WM_MOUSEMOVE, contract::dispid::kMouseMove, 0},
    {WM_LBUTTONDOWN, contract::dispid::kMouseDown, contract::kLeftButton},
    {WM_RBUTTONDOWN, contract::dispid::kMouseDown, contract::kRightButton},
    {WM_MBUTTONDOWN, contract::dispid::kMouseDown, contract::kMiddleButton},
    {WM_LBUTTONUP, contract::dispid::kMouseUp, contract::kLeftButton},
    {WM_RBUTTONUP, contract::dispid::kMouseUp, contract::kRightButton},
    {WM_MBUTTONUP, contract::dispid::kMouseUp, contract::kMiddleButton},
    {WM_LBUTTONDBLCLK, contract::dispid::kDblClick, contract::kLeftButton},
    {WM_RBUTTONDBLCLK, contract::dispid::kDblClick, contract::kRightButton},
    {WM_MBUTTONDBLCLK, contract::dispid::kDblClick, contract::kMiddleButton},
    {NIN_BALLOONSHOW, contract::dispid::kBalloonShow, 0},
    {NIN_BALLOONHIDE, contract::dispid::kBalloonClose, 0},
    {NIN_BALLOONTIMEOUT, contract::dispid::kBalloonClose, 0},
    {NIN_BALLOONUSERCLICK, contract::dispid::kBalloonClick, 0},
};

}  // namespace

HRESULT CreateTraylumeControl(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  auto control = common::make<TraylumeControl>();
  if (!control) return E_OUTOFMEMORY;
  RETURN_IF_FAILED(control->Initialize());
  return control->QueryInterface(iid, object);
}

TraylumeControl::TraylumeControl() : sinks_(DIID_ITraylumeEvents), extent_(kInitialExtent) {}

TraylumeControl::~TraylumeControl() { Shutdown(); }

HRESULT TraylumeControl::Initialize() {
  common::UniqueIcon icon;
  RETURN_IF_FAILED(MakeDefaultIcon(&icon));
  common::UniqueIcon trayCopy(::CopyIcon(icon.get()));
  if (!trayCopy) return common::LastErrorHr();
  defaultTrayIcon_ = std::make_shared<const common::UniqueIcon>(std::move(trayCopy));
  RETURN_IF_FAILED(PictureFromIcon(&icon, &defaultPicture_));
  tray_.SetIcon(defaultTrayIcon_);
  return EnsureWindow(nullptr);
}

void* TraylumeControl::QueryExtra(REFIID iid) {
  if (iid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
  if (iid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
  if (iid == DIID_ITraylume) return static_cast<IDispatch*>(this);
  return nullptr;
}

HRESULT TraylumeControl::EnsureWindow(ControlError* error) {
  if (window_.get()) return S_OK;
  const HRESULT hr = window_.Create(this);
  if (FAILED(hr)) {
    if (error) *error = {hr, texts::kWindowFailed};
    return error ? DISP_E_EXCEPTION : hr;
  }
  tray_.SetWindow(window_.get());
  return S_OK;
}

void TraylumeControl::Shutdown() {
  tray_.Hide();
  window_.Destroy();
  tray_.SetWindow(nullptr);
}

void TraylumeControl::RaiseEvent(DISPID id, std::optional<short> button) {
  // A sink may release the control's last reference while it handles the
  // event: the control (and this window's owner) stays until all are done.
  common::ComPtr<IUnknown> keepAlive(Identity());
  sinks_.Raise(id, button);
}

void TraylumeControl::OnNotifyIconMessage(UINT message) {
  for (const CallbackEvent& entry : kCallbackEvents) {
    if (entry.message != message) continue;
    if (entry.button) {
      RaiseEvent(entry.event, entry.button);
    } else {
      RaiseEvent(entry.event);
    }
    return;
  }
}

void TraylumeControl::OnTaskbarCreated() { tray_.Restore(); }

void TraylumeControl::OnWindowDestroyed() {
  tray_.Hide();
  tray_.SetWindow(nullptr);
}

// --- IProvideClassInfo2 ---

STDMETHODIMP TraylumeControl::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  common::ComPtr<ITypeInfo> typeInfo;
  RETURN_IF_FAILED(OwnTypeInfo(CLSID_Traylume, &typeInfo));
  *info = typeInfo.release();
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID_ITraylumeEvents;
  return S_OK;
}

// --- IConnectionPointContainer ---

STDMETHODIMP TraylumeControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  *points = nullptr;
  common::ComPtr<IConnectionPoint> point;
  RETURN_IF_FAILED(FindConnectionPoint(DIID_ITraylumeEvents, point.put()));
  return EnumerateConnectionPoint(point.get(), points);
}

STDMETHODIMP TraylumeControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != DIID_ITraylumeEvents) return CONNECT_E_NOCONNECTION;
  auto made = common::make<ConnectionPoint>(common::ComPtr<IConnectionPointContainer>(this), &sinks_);
  if (!made) return E_OUTOFMEMORY;
  return made->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(point));
}

// --- ISupportErrorInfo ---

STDMETHODIMP TraylumeControl::InterfaceSupportsErrorInfo(REFIID iid) {
  return (iid == IID_IDispatch || iid == DIID_ITraylume) ? S_OK : S_FALSE;
}

}  // namespace traylume

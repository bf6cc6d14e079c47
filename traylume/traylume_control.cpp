#include "traylume/traylume_control.h"

#include <iterator>

#include "common/hresult.h"
#include "contract/traylume_contract.h"
#include "traylume/connection_point.h"
#include "traylume/pictures.h"
#include "traylume/type_library.h"
#include "traylume/texts.h"

namespace traylume {
namespace {

// Balloon changes wait until none has come for this long.
constexpr UINT kBalloonSettleDelay = 500;
// While the icon waits for a task bar: a try every 10 s, six times.
constexpr UINT kTaskBarRetryInterval = 10000;
constexpr int kTaskBarRetries = 6;

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
  return common::MakeAndQuery<TraylumeControl>(iid, object);
}

TraylumeControl::TraylumeControl() : sinks_(DIID_ITraylumeEvents), extent_(kInitialExtent) {}

TraylumeControl::~TraylumeControl() { Shutdown(); }

HRESULT TraylumeControl::Initialize() {
  common::UniqueIcon icon;
  RETURN_IF_FAILED(MakeDefaultIcon({kDefaultPictureSide, kDefaultPictureSide}, &icon));
  RETURN_IF_FAILED(PictureFromIcon(&icon, &defaultPicture_));
  defaultTrayIcon_ = DefaultTrayIcon();
  HICON trayIcon = nullptr;
  RETURN_IF_FAILED(defaultTrayIcon_->At(ShellIconSize(), &trayIcon));
  tray_.SetIcon(defaultTrayIcon_);
  return EnsureWindow();
}

void* TraylumeControl::QueryExtra(REFIID iid) {
  if (iid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
  if (iid == IID_IViewObject) return static_cast<IViewObject2*>(this);
  if (iid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
  if (iid == DIID_ITraylume) return static_cast<IDispatch*>(this);
  return nullptr;
}

HRESULT TraylumeControl::EnsureWindow() {
  if (window_.get()) return S_OK;
  RETURN_IF_FAILED(window_.Create(this));
  tray_.SetWindow(window_.get());
  return S_OK;
}

void TraylumeControl::Shutdown() {
  tray_.Hide();
  WatchForTaskBar();
  window_.Destroy();
  tray_.SetWindow(nullptr);
}

void TraylumeControl::RaiseEvent(DISPID id, std::optional<short> button) {
  // A container that froze events does not want them, not even later.
  if (eventsFrozen_ > 0) return;
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

HRESULT TraylumeControl::Changed(ControlError* error) {
  if (!autoRefresh_) return S_OK;
  return ShellStep(tray_.BalloonSettling() ? tray_.ApplyAllButBalloon() : tray_.Apply(), texts::kUpdateFailed,
                   error);
}

HRESULT TraylumeControl::BalloonChanged(ControlError* error) {
  // Each balloon is a notification of its own on Windows 10 and later:
  // a title being typed would give one per key.
  if (autoRefresh_ && tray_.BalloonSettling()) window_.StartTimer(kBalloonSettleTimer, kBalloonSettleDelay);
  return Changed(error);
}

HRESULT TraylumeControl::ShellStep(HRESULT hr, const wchar_t* text, ControlError* error) {
  WatchForTaskBar();
  if (SUCCEEDED(hr)) return S_OK;
  return Fail(error, hr, text);
}

void TraylumeControl::OnTaskbarCreated() {
  tray_.Restore();
  WatchForTaskBar();
}

void TraylumeControl::OnTimer(UINT_PTR timer) {
  if (timer == kBalloonSettleTimer) {
    // The balloon's changes have settled: one balloon with the last values.
    window_.StopTimer(kBalloonSettleTimer);
    if (autoRefresh_) LOG_IF_FAILED(tray_.Apply());
  } else if (timer == kTaskBarRetryTimer) {
    // For a shell that never announces its task bar; after the last try
    // only the announcement adds the icon.
    if (--taskBarRetriesLeft_ <= 0) window_.StopTimer(kTaskBarRetryTimer);
    if (tray_.waitingForTaskBar()) LOG_IF_FAILED(tray_.Show());
  }
  WatchForTaskBar();
}

void TraylumeControl::WatchForTaskBar() {
  const bool waiting = tray_.waitingForTaskBar();
  if (waiting == watchingForTaskBar_) return;
  watchingForTaskBar_ = waiting;
  if (waiting) {
    taskBarRetriesLeft_ = kTaskBarRetries;
    window_.StartTimer(kTaskBarRetryTimer, kTaskBarRetryInterval);
  } else {
    window_.StopTimer(kTaskBarRetryTimer);
  }
}

void TraylumeControl::OnWindowDestroyed() {
  tray_.Hide();
  watchingForTaskBar_ = false;
  tray_.SetWindow(nullptr);
}

// --- IProvideClassInfo2 ---

STDMETHODIMP TraylumeControl::GetClassInfo(ITypeInfo** info) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!info) return E_POINTER;
  *info = nullptr;
  common::ComPtr<ITypeInfo> typeInfo;
  RETURN_IF_FAILED(OwnTypeInfo(CLSID_Traylume, &typeInfo));
  *info = typeInfo.release();
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetGUID(DWORD kind, GUID* guid) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!guid) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID_ITraylumeEvents;
  return S_OK;
}

// --- IConnectionPointContainer ---

STDMETHODIMP TraylumeControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!points) return E_POINTER;
  *points = nullptr;
  common::ComPtr<IConnectionPoint> point;
  RETURN_IF_FAILED(FindConnectionPoint(DIID_ITraylumeEvents, point.put()));
  return EnumerateConnectionPoint(point.get(), points);
}

STDMETHODIMP TraylumeControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != DIID_ITraylumeEvents) return CONNECT_E_NOCONNECTION;
  return common::MakeAndQuery<ConnectionPoint>(IID_IConnectionPoint, reinterpret_cast<void**>(point),
                                               common::ComPtr<IConnectionPointContainer>(this), &sinks_);
}

// --- ISupportErrorInfo ---

STDMETHODIMP TraylumeControl::InterfaceSupportsErrorInfo(REFIID iid) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return (iid == IID_IDispatch || iid == DIID_ITraylume) ? S_OK : S_FALSE;
}

}  // namespace traylume

#include "traylume/notify_icon.h"

#include "common/hresult.h"
#include "contract/traylume_contract.h"
#include "traylume/notify_text.h"
#include "traylume/tray_window.h"

namespace traylume {
namespace {

constexpr UINT kBalloonTimeout = 10000;

DWORD BalloonKind(long kind) {
  switch (kind) {
    case contract::kBalloonInformation:
      return NIIF_INFO;
    case contract::kBalloonWarning:
      return NIIF_WARNING;
    case contract::kBalloonError:
      return NIIF_ERROR;
    default:
      return NIIF_NONE;
  }
}

// The shell's answer: E_FAIL when it refuses; the timeout Explorer reports
// when it answered late, in which case it may still have done it.
HRESULT CallShell(DWORD message, NOTIFYICONDATAW* data) {
  ::SetLastError(ERROR_SUCCESS);
  if (::Shell_NotifyIconW(message, data)) return S_OK;
  if (::GetLastError() == ERROR_TIMEOUT) RETURN_HR(HRESULT_FROM_WIN32(ERROR_TIMEOUT));
  RETURN_HR(E_FAIL);
}

bool TaskBarExists() { return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }

// Records `value` in `held` and marks `part` pending, when they differ.
template <typename T>
void Change(T* held, T value, unsigned part, unsigned* pending) {
  if (*held == value) return;
  *held = std::move(value);
  *pending |= part;
}

}  // namespace

void NotifyIcon::SetIcon(SharedTrayIcon icon) { Change(&settings_.icon, std::move(icon), kIconPart, &pending_); }

void NotifyIcon::SetToolTip(std::wstring text) { Change(&settings_.toolTip, std::move(text), kTipPart, &pending_); }

void NotifyIcon::SetBalloon(bool on) { Change(&settings_.balloon, on, kBalloonSwitchPart, &pending_); }

void NotifyIcon::SetBalloonTitle(std::wstring text) {
  Change(&settings_.balloonTitle, std::move(text), kBalloonContentPart, &pending_);
}

void NotifyIcon::SetBalloonText(std::wstring text) {
  Change(&settings_.balloonText, std::move(text), kBalloonContentPart, &pending_);
}

void NotifyIcon::SetBalloonIcon(long kind) { Change(&settings_.balloonIcon, kind, kBalloonContentPart, &pending_); }

void NotifyIcon::SetBalloonSound(bool on) { Change(&settings_.balloonSound, on, kBalloonContentPart, &pending_); }

void NotifyIcon::ResetSettings(Settings settings) {
  settings_ = std::move(settings);
  pending_ = kAllParts;
}

bool NotifyIcon::BalloonSettling() const {
  return presence_ == Presence::kShown && settings_.balloon && applied_.balloon &&
         (pending_ & kBalloonParts) == kBalloonContentPart;
}

HRESULT NotifyIcon::Describe(unsigned parts, const Settings& from, NOTIFYICONDATAW* data) const {
  *data = NOTIFYICONDATAW{};
  data->cbSize = sizeof(*data);
  data->hWnd = window_;
  data->uID = kIconId;
  data->uFlags = NIF_MESSAGE;
  data->uCallbackMessage = kCallbackMessage;
  if ((parts & kIconPart) && from.icon) {
    RETURN_IF_FAILED(from.icon->At(ShellIconSize(), &data->hIcon));
    data->uFlags |= NIF_ICON;
  }
  if (parts & kTipPart) {
    data->uFlags |= NIF_TIP;
    CopyTruncated(data->szTip, from.toolTip);
  }
  if (parts & kBalloonParts) {
    if (from.balloon) {
      data->uFlags |= NIF_INFO;
      CopyTruncated(data->szInfoTitle, from.balloonTitle);
      CopyTruncated(data->szInfo, from.balloonText);
      data->dwInfoFlags = BalloonKind(from.balloonIcon) | (from.balloonSound ? 0 : NIIF_NOSOUND);
      data->uTimeout = kBalloonTimeout;
    } else if (applied_.balloon) {
      data->uFlags |= NIF_INFO;  // an empty text takes the balloon down
    }
  }
  return S_OK;
}

HRESULT NotifyIcon::Send(DWORD message, unsigned parts) {
  if (!window_) RETURN_HR(E_UNEXPECTED);
  NOTIFYICONDATAW data;
  RETURN_IF_FAILED(Describe(parts, settings_, &data));
  if (message == NIM_MODIFY && data.uFlags == NIF_MESSAGE) {
    pending_ &= ~parts;  // nothing the shell shows has changed
    return S_OK;
  }
  RETURN_IF_FAILED(CallShell(message, &data));
  presence_ = Presence::kShown;
  if (data.uFlags & NIF_ICON) applied_.icon = settings_.icon;
  if (data.uFlags & NIF_TIP) applied_.toolTip = settings_.toolTip;
  if (parts & kBalloonParts) applied_.balloon = settings_.balloon;
  pending_ &= ~parts;
  return S_OK;
}

HRESULT NotifyIcon::Add() {
  applied_.balloon = false;  // a new icon has no balloon to take down
  const HRESULT added = Send(NIM_ADD, kAllParts);
  if (SUCCEEDED(added)) return S_OK;
  // A busy Explorer may answer late and still have added the icon: adding
  // it again would fail, so ask whether it is there.
  if (added == HRESULT_FROM_WIN32(ERROR_TIMEOUT) && SUCCEEDED(Send(NIM_MODIFY, kAllParts))) return S_OK;
  // At logon, or while Explorer restarts, there is no task bar to take it
  // yet: the icon goes in when the task bar announces itself.
  if (!TaskBarExists()) {
    presence_ = Presence::kWaiting;
    return S_OK;
  }
  RETURN_HR(E_FAIL);
}

void NotifyIcon::Delete() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kIconId;
  // Gone either way: the shell may have dropped it already.
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

HRESULT NotifyIcon::Show() {
  if (presence_ != Presence::kShown) return Add();
  if (SUCCEEDED(Send(NIM_MODIFY, kIconPart | kTipPart | (pending_ & kBalloonParts)))) return S_OK;
  // The shell lost the icon without telling (no task bar message came).
  return Add();
}

HRESULT NotifyIcon::Apply() { return ApplyParts(pending_); }

HRESULT NotifyIcon::ApplyAllButBalloon() { return ApplyParts(pending_ & ~kBalloonParts); }

HRESULT NotifyIcon::ApplyParts(unsigned parts) {
  if (presence_ != Presence::kShown || parts == 0) return S_OK;
  if (SUCCEEDED(Send(NIM_MODIFY, parts))) return S_OK;
  return Add();
}

void NotifyIcon::Hide() {
  if (presence_ == Presence::kShown) Delete();
  presence_ = Presence::kHidden;
  applied_.balloon = false;
  pending_ = kAllParts;
}

void NotifyIcon::Restore() {
  if (!window_ || presence_ == Presence::kHidden) return;
  if (presence_ == Presence::kWaiting) {
    LOG_IF_FAILED(Add());
    return;
  }
  // Explorer announces its task bar also when the display scale changes or
  // a remote session reconnects, while it still has the icon: adding would
  // fail and changing would keep the old size, so it goes and comes back.
  Delete();
  applied_.balloon = false;
  NOTIFYICONDATAW data;
  if (SUCCEEDED(LOG_IF_FAILED(Describe(kIconPart | kTipPart, applied_, &data))) &&
      SUCCEEDED(CallShell(NIM_ADD, &data))) {
    return;
  }
  // Lost: added with every setting when the shell takes it again.
  presence_ = Presence::kWaiting;
  pending_ = kAllParts;
}

}  // namespace traylume

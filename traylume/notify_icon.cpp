#include "traylume/notify_icon.h"

#include "contract/traylume_contract.h"
#include "traylume/notify_text.h"
#include "traylume/tray_window.h"

namespace traylume {
namespace {

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

}  // namespace

void NotifyIcon::SetIcon(SharedIcon icon) {
  settings_.icon = std::move(icon);
  pending_ |= kIconPart;
}

void NotifyIcon::SetToolTip(std::wstring text) {
  settings_.toolTip = std::move(text);
  pending_ |= kTipPart;
}

void NotifyIcon::SetBalloon(bool on) {
  settings_.balloon = on;
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonTitle(std::wstring text) {
  settings_.balloonTitle = std::move(text);
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonText(std::wstring text) {
  settings_.balloonText = std::move(text);
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonIcon(long kind) {
  settings_.balloonIcon = kind;
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonSound(bool on) {
  settings_.balloonSound = on;
  pending_ |= kBalloonPart;
}

void NotifyIcon::ResetSettings(Settings settings) {
  settings_ = std::move(settings);
  pending_ = kAllParts;
}

NOTIFYICONDATAW NotifyIcon::Describe(unsigned parts) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE;
  data.uCallbackMessage = kCallbackMessage;
  if ((parts & kIconPart) && settings_.icon) {
    data.uFlags |= NIF_ICON;
    data.hIcon = settings_.icon->get();
  }
  if (parts & kTipPart) {
    data.uFlags |= NIF_TIP;
    CopyTruncated(data.szTip, settings_.toolTip);
  }
  if (parts & kBalloonPart) {
    if (settings_.balloon) {
      data.uFlags |= NIF_INFO;
      CopyTruncated(data.szInfoTitle, settings_.balloonTitle);
      CopyTruncated(data.szInfo, settings_.balloonText);
      data.dwInfoFlags = BalloonKind(settings_.balloonIcon) | (settings_.balloonSound ? 0 : NIIF_NOSOUND);
      data.uTimeout = 10000;
    } else if (appliedBalloon_) {
      data.uFlags |= NIF_INFO;  // an empty text takes the balloon down
    }
  }
  return data;
}

HRESULT NotifyIcon::Send(DWORD message, unsigned parts) {
  if (!window_) return E_UNEXPECTED;
  NOTIFYICONDATAW data = Describe(parts);
  if (message == NIM_MODIFY && data.uFlags == NIF_MESSAGE) {
    pending_ &= ~parts;  // nothing the shell shows has changed
    return S_OK;
  }
  if (!::Shell_NotifyIconW(message, &data)) return E_FAIL;
  shown_ = true;
  if (data.uFlags & NIF_ICON) appliedIcon_ = settings_.icon;
  if (data.uFlags & NIF_TIP) appliedToolTip_ = settings_.toolTip;
  if (parts & kBalloonPart) appliedBalloon_ = settings_.balloon;
  pending_ &= ~parts;
  return S_OK;
}

HRESULT NotifyIcon::AddWithEverything() {
  appliedBalloon_ = false;  // a new icon has no balloon to take down
  return Send(NIM_ADD, kAllParts);
}

HRESULT NotifyIcon::Show() {
  if (!shown_) return AddWithEverything();
  if (SUCCEEDED(Send(NIM_MODIFY, kIconPart | kTipPart | (pending_ & kBalloonPart)))) return S_OK;
  // The shell lost the icon without telling (no task bar message came).
  return AddWithEverything();
}

HRESULT NotifyIcon::Apply() {
  if (!shown_ || pending_ == 0) return S_OK;
  if (SUCCEEDED(Send(NIM_MODIFY, pending_))) return S_OK;
  return AddWithEverything();
}

void NotifyIcon::Hide() {
  if (!shown_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kIconId;
  // Gone either way: the shell may have dropped it already.
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  shown_ = false;
  appliedBalloon_ = false;
  pending_ = kAllParts;
}

void NotifyIcon::Restore() {
  if (!shown_ || !window_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  CopyTruncated(data.szTip, appliedToolTip_);
  if (appliedIcon_) {
    data.uFlags |= NIF_ICON;
    data.hIcon = appliedIcon_->get();
  }
  // A shell that was not really restarted still has the icon.
  if (!::Shell_NotifyIconW(NIM_ADD, &data)) ::Shell_NotifyIconW(NIM_MODIFY, &data);
  appliedBalloon_ = false;
}

}  // namespace traylume

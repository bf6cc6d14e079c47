#include "traylume/notify_icon.h"

#include "traylume/notify_text.h"
#include "traylume/tray_window.h"

namespace ocx {
namespace {

DWORD BalloonKind(long kind) {
  switch (kind) {
    case 1:
      return NIIF_INFO;
    case 2:
      return NIIF_WARNING;
    case 3:
      return NIIF_ERROR;
    default:
      return NIIF_NONE;
  }
}

}  // namespace

void NotifyIcon::SetIcon(SharedIcon icon) {
  icon_ = std::move(icon);
  pending_ |= kIconPart;
}

void NotifyIcon::SetToolTip(std::wstring text) {
  toolTip_ = std::move(text);
  pending_ |= kTipPart;
}

void NotifyIcon::SetBalloon(bool on) {
  balloon_ = on;
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonTitle(std::wstring text) {
  balloonTitle_ = std::move(text);
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonText(std::wstring text) {
  balloonText_ = std::move(text);
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonIcon(long kind) {
  balloonIcon_ = kind;
  pending_ |= kBalloonPart;
}

void NotifyIcon::SetBalloonSound(bool on) {
  balloonSound_ = on;
  pending_ |= kBalloonPart;
}

NOTIFYICONDATAW NotifyIcon::Describe(unsigned parts) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE;
  data.uCallbackMessage = kCallbackMessage;
  if ((parts & kIconPart) && icon_) {
    data.uFlags |= NIF_ICON;
    data.hIcon = icon_->get();
  }
  if (parts & kTipPart) {
    data.uFlags |= NIF_TIP;
    CopyTruncated(data.szTip, toolTip_);
  }
  if (parts & kBalloonPart) {
    if (balloon_) {
      data.uFlags |= NIF_INFO;
      CopyTruncated(data.szInfoTitle, balloonTitle_);
      CopyTruncated(data.szInfo, balloonText_);
      data.dwInfoFlags = BalloonKind(balloonIcon_) | (balloonSound_ ? 0 : NIIF_NOSOUND);
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
  if (data.uFlags & NIF_ICON) appliedIcon_ = icon_;
  if (data.uFlags & NIF_TIP) appliedToolTip_ = toolTip_;
  if (parts & kBalloonPart) appliedBalloon_ = balloon_;
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

}  // namespace ocx

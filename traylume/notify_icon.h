#pragma once
// One notification area icon: the settings the control's properties hold,
// which of them changed since they were last applied, what the shell was
// last told (so the icon can be added again when the task bar returns),
// and whether the icon waits for a task bar that is not there yet.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "traylume/tray_icon.h"

namespace traylume {

class NotifyIcon {
 public:
  // The window that owns the icon and receives kCallbackMessage.
  void SetWindow(HWND window) { window_ = window; }

  // What the properties hold; the shell shows what was last applied.
  struct Settings {
    SharedTrayIcon icon;
    std::wstring toolTip;
    bool balloon = false;
    std::wstring balloonTitle;
    std::wstring balloonText;
    long balloonIcon = 0;
    bool balloonSound = true;
  };

  // Setters record the value and, when it differs from the one held, mark
  // it pending; nothing reaches the shell until Show or Apply.
  void SetIcon(SharedTrayIcon icon);
  void SetToolTip(std::wstring text);
  void SetBalloon(bool on);
  void SetBalloonTitle(std::wstring text);
  void SetBalloonText(std::wstring text);
  void SetBalloonIcon(long kind);
  void SetBalloonSound(bool on);
  // Puts back earlier settings (a change that failed): all of them pending.
  void ResetSettings(Settings settings);

  const Settings& settings() const { return settings_; }
  const std::wstring& toolTip() const { return settings_.toolTip; }
  bool balloon() const { return settings_.balloon; }
  const std::wstring& balloonTitle() const { return settings_.balloonTitle; }
  const std::wstring& balloonText() const { return settings_.balloonText; }
  long balloonIcon() const { return settings_.balloonIcon; }
  bool balloonSound() const { return settings_.balloonSound; }
  // The host asked for the icon while the shell had no task bar to take it.
  bool waitingForTaskBar() const { return presence_ == Presence::kWaiting; }

  // True while the only balloon changes pending are to the title, text,
  // kind or sound of a balloon that is up. Such changes come in bursts (a
  // title being typed), and every balloon sent is a notification of its
  // own on Windows 10 and later: they wait until they stop coming.
  bool BalloonSettling() const;

  // Adds the icon with every setting, or brings a shown one up to date.
  // Where the shell has no task bar yet, the icon waits for it (Restore)
  // and this succeeds.
  HRESULT Show();
  // Applies the pending settings to a shown icon; a hidden one keeps them
  // for Show.
  HRESULT Apply();
  // The same, leaving pending balloon changes pending.
  HRESULT ApplyAllButBalloon();
  // Removes the icon from the notification area and stops waiting for the
  // task bar.
  void Hide();
  // The task bar was created: an icon waiting for it is added with every
  // setting; a shown one is removed and added again with what was last
  // applied, made at the icon size in force now.
  void Restore();

 private:
  enum Part : unsigned {
    kIconPart = 1,
    kTipPart = 2,
    kBalloonSwitchPart = 4,   // Balloon itself
    kBalloonContentPart = 8,  // its title, text, kind and sound
    kBalloonParts = kBalloonSwitchPart | kBalloonContentPart,
    kAllParts = kIconPart | kTipPart | kBalloonParts,
  };
  enum class Presence { kHidden, kWaiting, kShown };

  HRESULT Describe(unsigned parts, const Settings& from, NOTIFYICONDATAW* data) const;
  HRESULT Send(DWORD message, unsigned parts);
  HRESULT ApplyParts(unsigned parts);
  HRESULT Add();
  void Delete();

  HWND window_ = nullptr;
  Settings settings_;
  Settings applied_;  // what the shell holds now
  unsigned pending_ = kAllParts;
  Presence presence_ = Presence::kHidden;
};

}  // namespace traylume

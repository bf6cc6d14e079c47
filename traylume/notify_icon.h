#pragma once
// One notification area icon: the settings the control's properties hold,
// which of them changed since they were last applied, and what the shell
// was last told, so the icon can be added again when the task bar returns.

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "common/unique_handle.h"

namespace traylume {

class NotifyIcon {
 public:
  using SharedIcon = std::shared_ptr<const common::UniqueIcon>;

  // The window that owns the icon and receives kCallbackMessage.
  void SetWindow(HWND window) { window_ = window; }

  // What the properties hold; the shell shows what was last applied.
  struct Settings {
    SharedIcon icon;
    std::wstring toolTip;
    bool balloon = false;
    std::wstring balloonTitle;
    std::wstring balloonText;
    long balloonIcon = 0;
    bool balloonSound = true;
  };

  // Setters record the value and mark it pending; nothing reaches the
  // shell until Show or Apply.
  void SetIcon(SharedIcon icon);
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
  bool shown() const { return shown_; }

  // Adds the icon with every setting, or brings a shown one up to date.
  HRESULT Show();
  // Applies the pending settings to a shown icon; a hidden icon keeps them
  // for Show.
  HRESULT Apply();
  // Removes the icon from the notification area.
  void Hide();
  // Adds a shown icon again with what was last applied (the task bar was
  // recreated and has forgotten it).
  void Restore();

 private:
  enum Part : unsigned {
    kIconPart = 1,
    kTipPart = 2,
    kBalloonPart = 4,
    kAllParts = kIconPart | kTipPart | kBalloonPart,
  };

  NOTIFYICONDATAW Describe(unsigned parts) const;
  HRESULT Send(DWORD message, unsigned parts);
  HRESULT AddWithEverything();

  HWND window_ = nullptr;

  Settings settings_;

  unsigned pending_ = kAllParts;
  bool shown_ = false;
  // What the shell holds now.
  SharedIcon appliedIcon_;
  std::wstring appliedToolTip_;
  bool appliedBalloon_ = false;
};

}  // namespace traylume

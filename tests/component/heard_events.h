#pragma once
// What the window would hear of the control's events, written down.

#include <string>
#include <vector>

#include "component/traylume_events.h"

namespace component_tests {

struct HeardEvents final : component::TraylumeEvents {
  std::vector<std::wstring> events;
  void MouseDown(short b) override { events.push_back(L"MouseDown " + std::to_wstring(b)); }
  void MouseMove() override { events.push_back(L"MouseMove"); }
  void MouseUp(short b) override { events.push_back(L"MouseUp " + std::to_wstring(b)); }
  void DblClick(short b) override { events.push_back(L"DblClick " + std::to_wstring(b)); }
  void BalloonShow() override { events.push_back(L"BalloonShow"); }
  void BalloonClose() override { events.push_back(L"BalloonClose"); }
  void BalloonClick() override { events.push_back(L"BalloonClick"); }
};

}  // namespace component_tests

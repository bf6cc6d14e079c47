#pragma once
// A TraylumeEvents that writes down every event it hears, one line each:
// "MouseDown 1", "MouseMove", ...

#include <string>
#include <vector>

#include "component/traylume_events.h"

namespace binding_tests {

class RecordingEvents : public component::TraylumeEvents {
 public:
  std::vector<std::wstring> calls;

  void MouseDown(short button) override { calls.push_back(L"MouseDown " + std::to_wstring(button)); }
  void MouseMove() override { calls.push_back(L"MouseMove"); }
  void MouseUp(short button) override { calls.push_back(L"MouseUp " + std::to_wstring(button)); }
  void DblClick(short button) override { calls.push_back(L"DblClick " + std::to_wstring(button)); }
  void BalloonShow() override { calls.push_back(L"BalloonShow"); }
  void BalloonClose() override { calls.push_back(L"BalloonClose"); }
  void BalloonClick() override { calls.push_back(L"BalloonClick"); }
};

}  // namespace binding_tests

#pragma once
// What the window implements to hear the control's seven events.

namespace component {

class TraylumeEvents {
 public:
  virtual void MouseDown(short button) = 0;
  virtual void MouseMove() = 0;
  virtual void MouseUp(short button) = 0;
  virtual void DblClick(short button) = 0;
  virtual void BalloonShow() = 0;
  virtual void BalloonClose() = 0;
  virtual void BalloonClick() = 0;

 protected:
  ~TraylumeEvents() = default;
};

}  // namespace component

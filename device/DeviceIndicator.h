#pragma once
// The main window's device indicator as device presence sees it.  Detection
// calls it on the worker thread; an implementation that draws must hand the
// change to the user-interface thread.
class DeviceIndicator {
 public:
  virtual ~DeviceIndicator() = default;
  virtual void ResetAllState() = 0;
  virtual void SetDeviceState(int deviceType, int state) = 0;
};

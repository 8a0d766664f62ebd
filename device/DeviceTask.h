#pragma once
// The codes of the main controller's task queue; the queue holds them as
// plain integers.
enum class DeviceTask : int {
  DetectDevice = 1,           // the first detection only
  RedetectDevice = 2,         // an interface arrived
  RedetectAfterRemoval = 3,   // an interface went away
  LoadDeviceData = 5,
  WriteKeyAssignments = 6,
  WriteLighting = 7,
  WriteKeyLights = 8,
  ResetDevice = 10,
  DownloadSoftwareUpdate = 14,
  DownloadFirmwareTool = 15,
};

constexpr int TaskCode(DeviceTask task) { return static_cast<int>(task); }

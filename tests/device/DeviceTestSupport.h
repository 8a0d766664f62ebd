#pragma once
// What the device tests share: the keyboard's connection entries, a task
// queue and a device indicator that record what they are given.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "VirtualKeyboardControl.h"
#include "device/DeviceEntry.h"
#include "device/DeviceIndicator.h"
#include "device/DeviceLink.h"
#include "device/TaskSink.h"

// The three modes of the keyboard, as config.xml lists them.
inline std::vector<DeviceEntry> KeyboardEntries() {
  return {
      {0x1209, 0x4B01, L"", 101, 0, L"VID_1209&PID_4B01&MI_02"},
      {0x1209, 0x4B02, L"", 101, 1, L"VID_1209&PID_4B02&MI_02"},
      {0x1209, 0x4B03, L"", 101, 2, L"VID_1209&PID_4B03&MI_02"},
  };
}

inline void AddEntries(DeviceLink& link, const std::vector<DeviceEntry>& entries) {
  for (const auto& e : entries) link.AddDeviceEntry(e.vid, e.pid, e.productName, e.deviceType, e.mode, e.hidInterface);
}

class RecordingTaskSink : public TaskSink {
 public:
  void QueueTask(int task) override {
    std::scoped_lock lock(m_lock);
    m_tasks.push_back(task);
  }
  std::vector<int> Take() {
    std::scoped_lock lock(m_lock);
    std::vector<int> tasks;
    tasks.swap(m_tasks);
    return tasks;
  }

 private:
  std::mutex m_lock;
  std::vector<int> m_tasks;
};

class RecordingIndicator : public DeviceIndicator {
 public:
  explicit RecordingIndicator(DeviceLink* link = nullptr) : m_link(link) {}
  void ResetAllState() override {
    calls.push_back("reset");
    if (m_link) selectedTypeAtReset = m_link->GetSelectedDeviceType();
  }
  void SetDeviceState(int deviceType, int state) override {
    calls.push_back("state " + std::to_string(deviceType) + " " + std::to_string(state));
  }
  std::vector<std::string> calls;
  int selectedTypeAtReset = -1;

 private:
  DeviceLink* m_link;
};

// Every device test starts from a plain wired keyboard with an empty trace.
class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(VirtualKeyboardControl::SimulatorLoaded())
        << "run with LD_PRELOAD=libkestrel-virtual-keyboard.so (ctest does)";
  }
  // Opens the link as a detection does and selects the keyboard's type.
  static void OpenLikeDetection(DeviceLink& link) {
    link.CloseAll();
    link.OpenAll();
    link.SetEnabled(true);
    link.SetSelectedDeviceType(101);
    link.ClearActiveHandle();
  }
  // A report that carries `number` in bytes 2 to 5, so a trace line tells
  // which call it came from.
  static DeviceLink::Report NumberedReport(uint8_t command, uint32_t number) {
    DeviceLink::Report report{};
    report[1] = command;
    for (int i = 0; i < 4; ++i) report[2 + i] = static_cast<uint8_t>(number >> (8 * i));
    return report;
  }
  static uint32_t ReportNumber(const std::vector<uint8_t>& bytes) {
    uint32_t number = 0;
    for (int i = 0; i < 4 && 2 + i < static_cast<int>(bytes.size()); ++i) number |= uint32_t{bytes[2 + i]} << (8 * i);
    return number;
  }

  VirtualKeyboardControl m_keyboard;
};

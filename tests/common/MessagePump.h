#pragma once
// What the window tests share: pumping the UI loop until something happens
// or for a while, and a fixture that skips without an X display.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/UiLoop.h"

// Pumps until the condition holds or the time is up; true when it held.
inline bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 3000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    platform::PumpMessages(10);
  }
  return true;
}

// Pumps for a while whatever happens.
inline void PumpFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) platform::PumpMessages(5);
}

// Tests on a real X server; skipped with a message when there is none.
class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::OpenDisplay()) {
      GTEST_SKIP() << "no X display (DISPLAY is not set): window tests run under Xvfb (make test)";
    }
  }
};

#pragma once
// A window that records what it receives, and helpers that pump the loop
// until something arrives, for the tests on a real X server.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "platform/UiLoop.h"
#include "platform/Window.h"

class RecordingHandler : public platform::WindowHandler {
 public:
  intptr_t OnWindowMessage(platform::Window& window, const platform::Message& message) override {
    messages.push_back(message);
    if (onMessage) {
      intptr_t result = 0;
      if (onMessage(window, message, result)) return result;
    }
    return window.DefaultProc(message);
  }

  size_t Count(uint32_t message) const {
    size_t n = 0;
    for (const auto& m : messages) n += m.message == message;
    return n;
  }
  const platform::Message* Last(uint32_t message) const {
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
      if (it->message == message) return &*it;
    }
    return nullptr;
  }

  std::vector<platform::Message> messages;
  // Return true to answer with `result` instead of the default handling.
  std::function<bool(platform::Window&, const platform::Message&, intptr_t& result)> onMessage;
};

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

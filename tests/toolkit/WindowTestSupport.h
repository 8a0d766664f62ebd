#pragma once
// A window that records what it receives, and helpers that pump the loop
// until something arrives, for the tests on a real X server.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "MessagePump.h"
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


#pragma once
// What the simulated keyboard answers to feature reads.  A keyboard answers
// a read with the reply that belongs to the feature report sent last on the
// same interface; several reads after one request get the replies in turn.
//
// This is the place where simulated keyboard families get their answers:
// BuiltInFeatureAnswers() holds the answers each product id gives without
// being told, and a test adds its own with "feature_answer=" in the control
// file (see SimulatorSettings.h).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace virtual_keyboard {

struct FeatureAnswer {
  // The answer applies when the last feature report sent begins with these
  // bytes (report id first).
  std::vector<uint8_t> requestPrefix;
  // Reply k answers the k-th read after that request; reads beyond the last
  // reply fail, as a keyboard that has nothing more to say.
  std::vector<std::vector<uint8_t>> replies;
};

// The answers a keyboard with this product id gives on its own.  The
// command-protocol keyboard (the tri-mode K87) answers no feature read.
std::vector<FeatureAnswer> BuiltInFeatureAnswers(uint16_t productId);

// The reply for the `index`-th read after `lastSent`, or nullptr.  Answers
// given by the test come first, so they can override built-in ones.
const std::vector<uint8_t>* FindFeatureReply(const std::vector<FeatureAnswer>& answers,
                                             const std::vector<uint8_t>& lastSent,
                                             size_t index);

}  // namespace virtual_keyboard

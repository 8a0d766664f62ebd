#include "FeatureTable.h"

#include <algorithm>

namespace virtual_keyboard {

std::vector<FeatureAnswer> BuiltInFeatureAnswers(uint16_t productId) {
  switch (productId) {
    // Keyboard families that answer feature reads list their answers here,
    // keyed by their product id.
    default:
      return {};
  }
}

const std::vector<uint8_t>* FindFeatureReply(const std::vector<FeatureAnswer>& answers,
                                             const std::vector<uint8_t>& lastSent,
                                             size_t index) {
  for (const FeatureAnswer& answer : answers) {
    const auto& prefix = answer.requestPrefix;
    if (prefix.empty() || prefix.size() > lastSent.size()) continue;
    if (!std::equal(prefix.begin(), prefix.end(), lastSent.begin())) continue;
    if (index < answer.replies.size()) return &answer.replies[index];
    return nullptr;
  }
  return nullptr;
}

}  // namespace virtual_keyboard

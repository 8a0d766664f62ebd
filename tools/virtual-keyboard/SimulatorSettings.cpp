#include "SimulatorSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace virtual_keyboard {
namespace {

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::string item;
  std::istringstream in(text);
  while (std::getline(in, item, ',')) {
    item = Trim(item);
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

bool ParseNumber(const std::string& text, int base, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, base);
  return end != nullptr && *end == '\0';
}

// "all", "none" or a count.
bool ParseCount(const std::string& text, int& count) {
  if (text == "all") {
    count = kAlways;
    return true;
  }
  if (text == "none") {
    count = 0;
    return true;
  }
  long value = 0;
  if (!ParseNumber(text, 10, value) || value < 0) return false;
  count = static_cast<int>(std::min<long>(value, kAlways));
  return true;
}

void ApplySetting(const std::string& key, const std::string& value, SimulatorSettings& settings) {
  if (key == "modes") {
    std::vector<int> modes;
    for (const std::string& item : SplitList(value)) {
      long mode = 0;
      if (ParseNumber(item, 10, mode) && mode >= 0 && mode < 16) modes.push_back(static_cast<int>(mode));
    }
    settings.connectedModes = modes;
  } else if (key == "fail_writes") {
    ParseCount(value, settings.failWrites);
  } else if (key == "deny_open") {
    ParseCount(value, settings.denyOpens);
  } else if (key == "vid") {
    long vid = 0;
    if (ParseNumber(value, 16, vid) && vid > 0 && vid <= 0xFFFF) settings.vendorId = static_cast<uint16_t>(vid);
  } else if (key == "pids") {
    std::vector<uint16_t> pids;
    for (const std::string& item : SplitList(value)) {
      long pid = 0;
      if (ParseNumber(item, 16, pid) && pid > 0 && pid <= 0xFFFF) pids.push_back(static_cast<uint16_t>(pid));
    }
    if (!pids.empty()) settings.productIds = pids;
  } else if (key == "trace") {
    settings.tracePath = value;
  } else if (key == "state") {
    settings.statePath = value;
  } else if (key == "keyboard") {
    settings.keyboardName = value;
  } else if (key == "feature_answer") {
    std::istringstream in(value);
    std::string word;
    FeatureAnswer answer;
    if (!(in >> word)) return;
    answer.requestPrefix = ParseHex(word);
    while (in >> word) answer.replies.push_back(ParseHex(word));
    if (!answer.requestPrefix.empty()) {
      // The test's answers go before the built-in ones.
      settings.featureAnswers.insert(settings.featureAnswers.begin(), answer);
    }
  }
}

}  // namespace

bool SimulatorSettings::IsConnected(int mode) const {
  return std::find(connectedModes.begin(), connectedModes.end(), mode) != connectedModes.end();
}

std::vector<uint8_t> ParseHex(const std::string& text) {
  std::vector<uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else continue;
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
      high = -1;
    }
  }
  return bytes;
}

SimulatorSettings SettingsFromEnvironment() {
  SimulatorSettings settings;
  const struct {
    const char* variable;
    const char* key;
  } names[] = {{"KESTREL_VK_MODES", "modes"},       {"KESTREL_VK_FAIL_WRITES", "fail_writes"},
               {"KESTREL_VK_DENY_OPEN", "deny_open"}, {"KESTREL_VK_VID", "vid"},
               {"KESTREL_VK_PIDS", "pids"},          {"KESTREL_VK_TRACE", "trace"},
               {"KESTREL_VK_STATE", "state"}};
  for (const auto& name : names) {
    if (const char* value = std::getenv(name.variable)) ApplySetting(name.key, Trim(value), settings);
  }
  return settings;
}

void ApplyControlText(const std::string& text, SimulatorSettings& settings) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, equals));
    ApplySetting(key, Trim(line.substr(equals + 1)), settings);
  }
}

}  // namespace virtual_keyboard

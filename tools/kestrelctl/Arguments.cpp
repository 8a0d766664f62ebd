#include "Arguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// Options that take a value.
const std::set<std::string>& ValueOptions() {
  static const std::set<std::string> names = {"lang",   "times",  "delay",  "brightness", "speed",
                                              "direction", "color", "colour", "preset",   "colorful"};
  return names;
}

}  // namespace

bool Arguments::Parse(int argc, char** argv, std::string& error) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (optionsEnded || word.size() < 2 || word[0] != '-') {
      m_words.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    if (word == "-h" || word == "--help") {
      m_help = true;
      continue;
    }
    if (word == "--json") {
      m_json = true;
      continue;
    }
    if (word.rfind("--", 0) != 0) {
      // A negative number is a word ("--speed -1" is caught by the range check).
      if (ParseNumber(word.substr(1))) {
        m_words.push_back(word);
        continue;
      }
      error = "unknown option " + word;
      return false;
    }
    std::string name = word.substr(2);
    std::string value;
    const auto equals = name.find('=');
    bool hasValue = false;
    if (equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
      hasValue = true;
    }
    if (!ValueOptions().count(name)) {
      error = "unknown option --" + name;
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= argc) {
        error = "--" + name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (name == "colour") name = "color";
    m_options[name] = value;
  }
  return true;
}

std::string Arguments::Word(size_t index) const { return index < m_words.size() ? m_words[index] : std::string(); }

std::optional<std::string> Arguments::Option(const std::string& name) const {
  const auto found = m_options.find(name);
  if (found == m_options.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> Arguments::UnexpectedOptions(const std::set<std::string>& allowed) const {
  std::vector<std::string> unexpected;
  for (const auto& [name, value] : m_options) {
    if (name != "lang" && !allowed.count(name)) unexpected.push_back("--" + name);
  }
  return unexpected;
}

std::optional<int> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* begin = text.c_str() + (hex ? 2 : 0);
  if (*begin == '+' || *begin == ' ' || (hex && *begin == '-')) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, hex ? 16 : 10);
  if (errno != 0 || end == begin || *end != '\0' || value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

#pragma once
// The command line split into the subcommand's words and its options.
// Options may stand anywhere after the program name; "--name=value" and
// "--name value" are the same.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class Arguments {
 public:
  // False (with `error` set) for an unknown option or a missing value.
  bool Parse(int argc, char** argv, std::string& error);

  const std::vector<std::string>& Words() const { return m_words; }
  // The word at `index`, or empty.
  std::string Word(size_t index) const;
  size_t WordCount() const { return m_words.size(); }

  bool Json() const { return m_json; }
  bool Help() const { return m_help; }
  std::optional<std::string> Option(const std::string& name) const;
  // The options given that are not in `allowed` (global ones are always
  // allowed), so a command can refuse what it does not understand.
  std::vector<std::string> UnexpectedOptions(const std::set<std::string>& allowed) const;

 private:
  std::vector<std::string> m_words;
  std::map<std::string, std::string> m_options;
  bool m_json = false;
  bool m_help = false;
};

// Whole decimal or 0x-hexadecimal numbers only.
std::optional<int> ParseNumber(const std::string& text);

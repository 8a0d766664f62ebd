// kestrel-udev-rules CONFIG OUTPUT [--fallback FILE]
// Writes the udev rule for the modes of CONFIG to OUTPUT.  When CONFIG lists
// no modes (or cannot be read) and a fallback is given, the fallback (the
// rule shipped in packaging/udev/) is copied instead, so the build always
// leaves a usable rule.  OUTPUT is replaced in one step, never half-written.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "UdevRules.h"

namespace {

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    if (!out.flush()) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--fallback")) {
    std::cerr << "usage: kestrel-udev-rules CONFIG OUTPUT [--fallback FILE]\n";
    return 2;
  }
  const std::string configPath = argv[1];
  const std::string outputPath = argv[2];
  std::vector<RuleMode> modes;
  std::string problems;
  const bool read = ReadRuleModes(configPath, modes, problems);
  if (!problems.empty()) std::cerr << configPath << ": " << problems;
  std::string text;
  if (read && !modes.empty()) {
    text = FormatUdevRules(modes);
  } else if (argc == 5) {
    if (!ReadFile(argv[4], text)) {
      std::cerr << "kestrel-udev-rules: cannot read " << argv[4] << "\n";
      return 1;
    }
  } else {
    std::cerr << configPath << (read ? ": no keyboard modes\n" : ": cannot be read or is not well-formed\n");
    return 1;
  }
  if (!WriteFileAtomically(outputPath, text)) {
    std::cerr << "kestrel-udev-rules: cannot write " << outputPath << "\n";
    return 1;
  }
  return 0;
}

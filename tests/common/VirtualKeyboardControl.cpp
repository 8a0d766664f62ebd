#include "VirtualKeyboardControl.h"

#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// One folder per test process, so parallel test programs never share files.
std::string ProcessFolder() {
  static const std::string folder = [] {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/kestrel-vk-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    return std::string(made ? made : "/tmp");
  }();
  return folder;
}

}  // namespace

VirtualKeyboardControl::VirtualKeyboardControl()
    : m_folder(ProcessFolder()),
      m_controlPath(m_folder + "/control"),
      m_tracePath(m_folder + "/trace"),
      m_statePath(m_folder + "/state.json") {
  // The simulator reads the control path once, on its first call.
  setenv("KESTREL_VK_CONTROL", m_controlPath.c_str(), 1);
  Set("");
  ClearTrace();
}

VirtualKeyboardControl::~VirtualKeyboardControl() {
  // Back to a plain wired keyboard for whatever runs next.
  Set("");
}

bool VirtualKeyboardControl::SimulatorLoaded() {
  void* symbol = dlsym(RTLD_DEFAULT, "hid_enumerate");
  Dl_info info{};
  if (!symbol || !dladdr(symbol, &info) || !info.dli_fname) return false;
  return std::string(info.dli_fname).find("kestrel-virtual-keyboard") != std::string::npos;
}

void VirtualKeyboardControl::Set(const std::string& lines) {
  const std::string temporary = m_controlPath + ".new";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << "trace=" << m_tracePath << "\n"
        << "state=" << m_statePath << "\n"
        << lines << "\n";
  }
  std::rename(temporary.c_str(), m_controlPath.c_str());
}

void VirtualKeyboardControl::ClearTrace() { std::ofstream(m_tracePath, std::ios::trunc); }

std::string VirtualKeyboardControl::StateText() const {
  std::ifstream in(m_statePath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void VirtualKeyboardControl::ClearState() { std::remove(m_statePath.c_str()); }

std::vector<TraceLine> VirtualKeyboardControl::Trace() const {
  std::vector<TraceLine> lines;
  std::ifstream in(m_tracePath);
  std::string text;
  while (std::getline(in, text)) {
    std::istringstream fields(text);
    TraceLine line;
    std::string hex;
    if (!(fields >> line.nanoseconds >> line.kind >> line.interfaceId >> line.result >> hex)) continue;
    if (hex != "-") {
      for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        line.bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<TraceLine> VirtualKeyboardControl::Trace(const std::string& kind) const {
  std::vector<TraceLine> selected;
  for (auto& line : Trace()) {
    if (line.kind == kind) selected.push_back(line);
  }
  return selected;
}

int64_t MonotonicNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

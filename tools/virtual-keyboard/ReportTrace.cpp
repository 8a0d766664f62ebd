#include "ReportTrace.h"

#include <time.h>

namespace virtual_keyboard {

ReportTrace::~ReportTrace() {
  if (m_file) std::fclose(m_file);
}

void ReportTrace::SetPath(const std::string& path) {
  if (path == m_path) return;
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
  m_path = path;
  // Append mode: a test that empties the file between steps keeps getting
  // lines at the (new) end.
  if (!m_path.empty()) m_file = std::fopen(m_path.c_str(), "a");
}

void ReportTrace::Record(const char* kind, const std::string& interfaceId, int result,
                         const uint8_t* bytes, size_t length) {
  if (!m_file) return;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long nanoseconds = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
  std::string hex;
  static constexpr char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < length; ++i) {
    hex.push_back(kDigits[bytes[i] >> 4]);
    hex.push_back(kDigits[bytes[i] & 0x0F]);
  }
  std::fprintf(m_file, "%lld %s %s %d %s\n", nanoseconds, kind, interfaceId.c_str(), result,
               hex.empty() ? "-" : hex.c_str());
  std::fflush(m_file);
}

}  // namespace virtual_keyboard

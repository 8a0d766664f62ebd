#include "TestFiles.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/TextConvert.h"

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrel-download-XXXXXX").string();
  if (::mkdtemp(pattern.data())) m_path = pattern + "/";
}

TempFolder::~TempFolder() {
  if (m_path.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::wstring TempFolder::WidePath() const { return platform::FromUtf8(m_path); }

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out);
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::string NoiseBytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (char& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

void RecordingTarget::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  {
    std::scoped_lock lock(m_mutex);
    m_messages.push_back({message, wParam, lParam});
  }
  if (onPost) onPost(lParam);
}

std::vector<PostedMessage> RecordingTarget::Messages() const {
  std::scoped_lock lock(m_mutex);
  return m_messages;
}

std::vector<intptr_t> RecordingTarget::Values() const {
  std::vector<intptr_t> values;
  for (const PostedMessage& posted : Messages()) values.push_back(posted.lParam);
  return values;
}

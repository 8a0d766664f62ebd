#pragma once
// Small helpers shared by the download tests: a temporary folder that is
// removed afterwards, whole-file reads and writes, and a message target that
// records what was posted.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageTarget.h"

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // Ends in '/'.
  const std::string& Path() const { return m_path; }
  std::wstring WidePath() const;

 private:
  std::string m_path;
};

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& data);
bool PathExists(const std::string& path);
// Bytes that do not compress, the same for the same seed.
std::string NoiseBytes(size_t size, uint32_t seed);

struct PostedMessage {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

class RecordingTarget : public platform::MessageTarget {
 public:
  void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  std::vector<PostedMessage> Messages() const;
  // The lParam values in order.
  std::vector<intptr_t> Values() const;
  // Called on the posting thread after each message is recorded.
  std::function<void(intptr_t)> onPost;

 private:
  mutable std::mutex m_mutex;
  std::vector<PostedMessage> m_messages;
};

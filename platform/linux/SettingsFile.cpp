#include "platform/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "platform/Paths.h"
#include "platform/TextConvert.h"
#include "platform/linux/HomeFolder.h"

namespace platform {
namespace {

constexpr size_t kMaxFileSize = 64 * 1024;
constexpr char kFileName[] = "settings.conf";

// One process writes its own settings from the UI thread and the worker;
// without this two read-modify-write cycles could drop each other's value.
std::mutex& WriteMutex() {
  static std::mutex mutex;
  return mutex;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return m_fd; }
  bool Valid() const { return m_fd >= 0; }

 private:
  int m_fd;
};

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

bool HasControl(std::wstring_view text) {
  for (wchar_t c : text) {
    if ((c < 0x20 && c != L'\t') || c == 0x7F) return true;
  }
  return false;
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool IsStorableName(const std::wstring& name) {
  return !name.empty() && name.find(L'=') == std::wstring::npos && name.front() != L'#' &&
         !HasControl(name) && Trimmed(name).size() == name.size();
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) return false;
  bytes.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > kMaxFileSize) return false;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::optional<SettingsFile::Values> ReadValues(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return std::nullopt;
  return SettingsFile::Parse(bytes);
}

}  // namespace

SettingsFile::SettingsFile(std::wstring folder) : m_folder(std::move(folder)) {
  if (m_folder.empty() || m_folder.back() != L'/') m_folder.push_back(L'/');
}

std::wstring SettingsFile::FolderFor(const std::wstring& programName) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    base = HomeFolder() + "/.config";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return FromUtf8(base) + L"/" + FileNameFrom(programName) + L"/";
}

std::wstring SettingsFile::FilePath() const { return m_folder + FromUtf8(kFileName); }

SettingsFile::KeyState SettingsFile::Open(bool createMissing) const {
  // Without the trailing '/', a file in the folder's place is seen as what
  // it is instead of as a missing folder.
  std::string folder = ToUtf8(m_folder);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    // ENOTDIR: a file stands where a parent folder should be, so the key is
    // missing and creating it will fail.
    if (errno != ENOENT && errno != ENOTDIR) return KeyState::Inaccessible;
    if (!createMissing) return KeyState::Missing;
    return CreateFolderPath(m_folder) ? KeyState::Created : KeyState::NotCreatable;
  }
  if (!S_ISDIR(st.st_mode) || ::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
    return KeyState::Inaccessible;
  }
  return KeyState::Present;
}

std::optional<std::wstring> SettingsFile::Read(const std::wstring& name) const {
  const auto values = ReadValues(ToUtf8(FilePath()));
  if (!values) return std::nullopt;
  const auto found = values->find(name);
  if (found == values->end()) return std::nullopt;
  return found->second;
}

bool SettingsFile::Write(const std::wstring& name, const std::wstring& text) const {
  if (!IsStorableName(name) || HasControl(text)) return false;
  if (Open(false) != KeyState::Present) return false;

  std::scoped_lock lock(WriteMutex());
  const std::string path = ToUtf8(FilePath());
  // A damaged or missing file starts again from nothing.
  Values values = ReadValues(path).value_or(Values{});
  values[name] = text;
  const std::string bytes = Format(values);
  // A file past the limit would read back as damaged, losing every value.
  if (bytes.size() > kMaxFileSize) return false;

  std::string temp = ToUtf8(m_folder) + "." + kFileName + ".XXXXXX";
  FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.Valid()) return false;
  const bool written = ::fchmod(fd.Get(), 0600) == 0 && WriteAll(fd.Get(), bytes) &&
                       ::fsync(fd.Get()) == 0;
  if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself reaches the disk only with the folder's entry.
  FileDescriptor folder(::open(ToUtf8(m_folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) ::fsync(folder.Get());
  return true;
}

std::optional<SettingsFile::Values> SettingsFile::Parse(std::string_view bytes) {
  if (bytes.size() > kMaxFileSize) return std::nullopt;
  const std::wstring text = FromUtf8(bytes);
  // FromUtf8 replaces invalid sequences, so a file that is not UTF-8 does not
  // come back byte for byte.
  if (ToUtf8(text) != bytes) return std::nullopt;

  Values values;
  std::wstring_view rest = text;
  while (!rest.empty()) {
    const size_t end = rest.find(L'\n');
    std::wstring_view line = rest.substr(0, end);
    rest = end == std::wstring_view::npos ? std::wstring_view{} : rest.substr(end + 1);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    if (HasControl(line)) return std::nullopt;
    if (Trimmed(line).empty() || Trimmed(line).front() == L'#') continue;
    const size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view name = Trimmed(line.substr(0, equals));
    if (name.empty()) return std::nullopt;
    values[std::wstring(name)] = std::wstring(line.substr(equals + 1));
  }
  return values;
}

std::string SettingsFile::Format(const Values& values) {
  std::string bytes;
  for (const auto& [name, text] : values) {
    bytes += ToUtf8(name);
    bytes += '=';
    bytes += ToUtf8(text);
    bytes += '\n';
  }
  return bytes;
}

}  // namespace platform

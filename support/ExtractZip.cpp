#include "support/ExtractZip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <vector>

#include "platform/TextConvert.h"
#include "support/ZipArchive.h"
#include "support/ZipEntryName.h"
#include "support/ZipEntryReader.h"

namespace {

constexpr uint32_t kDosReadOnly = 0x01;
constexpr uint32_t kDosFolder = 0x10;
constexpr uint16_t kUnixHost = 3;
constexpr uint16_t kExtendedTimeExtraId = 0x5455;  // "UT"

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : m_fd(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      Reset();
      m_fd = other.m_fd;
      other.m_fd = -1;
    }
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  void Reset() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd;
};

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Opens (creating when missing) each folder of `parts` in turn below
// `base`.  Links are never followed, so a link that was already in the
// folder cannot lead the extraction elsewhere.
Descriptor OpenFolders(int base, const std::vector<std::string>& parts, size_t count) {
  Descriptor current(::dup(base));
  for (size_t index = 0; index < count && current.IsOpen(); ++index) {
    const char* part = parts[index].c_str();
    int next = ::openat(current.Get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT) {
      if (::mkdirat(current.Get(), part, 0777) == 0 || errno == EEXIST) {
        next = ::openat(current.Get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      }
    }
    current = Descriptor(next);
  }
  return current;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t done = ::write(fd, data, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

// Unix times from an "UT" block: flags, then modification, access and
// creation time for each flag bit set, as far as the block reaches.
bool ReadExtendedTimes(const std::string& extra, timespec& modified, timespec& accessed) {
  std::string block;
  if (!FindZipExtra(extra, kExtendedTimeExtraId, block) || block.size() < 5) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
  const unsigned flags = bytes[0];
  if (!(flags & 1)) return false;
  modified = {static_cast<int32_t>(ZipRead32(bytes + 1)), 0};
  accessed = modified;
  if ((flags & 2) && block.size() >= 9) accessed = {static_cast<int32_t>(ZipRead32(bytes + 5)), 0};
  return true;
}

// The DOS date and time are the writer's local time.
bool ReadDosTime(const ZipEntry& entry, timespec& time) {
  std::tm local{};
  local.tm_sec = (entry.dosTime & 0x1F) * 2;
  local.tm_min = (entry.dosTime >> 5) & 0x3F;
  local.tm_hour = entry.dosTime >> 11;
  local.tm_mday = entry.dosDate & 0x1F;
  local.tm_mon = ((entry.dosDate >> 5) & 0x0F) - 1;
  local.tm_year = (entry.dosDate >> 9) + 80;
  local.tm_isdst = -1;
  if (local.tm_sec > 59 || local.tm_min > 59 || local.tm_hour > 23 || local.tm_mday < 1 || local.tm_mon < 0 ||
      local.tm_mon > 11) {
    return false;
  }
  const std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1)) return false;
  time = {seconds, 0};
  return true;
}

void SetTimes(int fd, const ZipEntry& entry, const std::string& localExtra) {
  timespec times[2]{};
  if (!ReadExtendedTimes(localExtra, times[1], times[0]) && !ReadExtendedTimes(entry.extra, times[1], times[0])) {
    if (!ReadDosTime(entry, times[1])) return;
    times[0] = times[1];
  }
  ::futimens(fd, times);
}

mode_t FileMode(const ZipEntry& entry) {
  const uint32_t unixMode = (entry.madeBy >> 8) == kUnixHost ? entry.externalAttributes >> 16 : 0;
  // Hidden, system and archive have no Unix meaning; only read-only takes
  // the write bits away.  The process umask still applies on creation.
  mode_t mode = (unixMode & 0777) != 0 ? static_cast<mode_t>(unixMode & 0777) : 0666;
  if (entry.externalAttributes & kDosReadOnly) mode &= ~static_cast<mode_t>(0222);
  return mode;
}

class Extraction {
 public:
  Extraction(const ZipArchive& archive, int base, const ExtractOptions& options, ExtractReport& report)
      : m_archive(archive), m_base(base), m_options(options), m_report(report) {}

  void Entry(const ZipEntry& entry) {
    const std::wstring decoded = DecodeZipEntryName(entry);
    const std::wstring safe = MakeSafeEntryPath(decoded);
    const uint32_t unixMode = (entry.madeBy >> 8) == kUnixHost ? entry.externalAttributes >> 16 : 0;
    const uint32_t type = unixMode & S_IFMT;
    if (safe.empty() || type == S_IFLNK) {
      ++m_report.skipped;
      return;
    }
    const std::vector<std::string> parts = SplitPath(platform::ToUtf8(safe));
    const bool folder = (entry.externalAttributes & kDosFolder) || type == S_IFDIR ||
                        (!decoded.empty() && (decoded.back() == L'/' || decoded.back() == L'\\'));
    if (folder) {
      if (OpenFolders(m_base, parts, parts.size()).IsOpen()) {
        ++m_report.written;
      } else {
        ++m_report.skipped;
      }
      return;
    }
    File(entry, safe, parts);
  }

 private:
  void File(const ZipEntry& entry, const std::wstring& safe, const std::vector<std::string>& parts) {
    // Past the output cap no further file is even created.
    if (m_capped) {
      m_report.failed.push_back(safe);
      return;
    }
    Descriptor folder = OpenFolders(m_base, parts, parts.size() - 1);
    if (!folder.IsOpen()) {
      ++m_report.skipped;
      return;
    }
    const char* leaf = parts.back().c_str();
    // Replacing, not writing through: an old read-only file or a link of
    // that name goes first.
    ::unlinkat(folder.Get(), leaf, 0);
    Descriptor file(
        ::openat(folder.Get(), leaf, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, FileMode(entry)));
    if (!file.IsOpen()) {
      ++m_report.skipped;
      return;
    }
    if (!WriteContent(entry, file.Get())) {
      m_report.failed.push_back(safe);
      return;
    }
    ++m_report.written;
  }

  bool WriteContent(const ZipEntry& entry, int fd) {
    uint64_t dataOffset = 0;
    std::string localExtra;
    if (!m_archive.LocateData(entry, dataOffset, localExtra)) return false;
    ZipEntryReader reader(m_archive, entry, dataOffset);
    if (!reader.CanRead()) return false;
    std::vector<char> buffer(kZipStepBytes);
    for (;;) {
      const int64_t got = reader.Read(buffer.data(), buffer.size());
      if (got < 0) return false;
      if (got == 0) break;
      const auto size = static_cast<uint64_t>(got);
      if (size > m_options.maxTotalBytes - m_total) {
        m_capped = true;
        return false;
      }
      if (!WriteAll(fd, buffer.data(), static_cast<size_t>(size))) return false;
      m_total += size;
    }
    if (!reader.CrcMatches()) return false;
    SetTimes(fd, entry, localExtra);
    return true;
  }

  const ZipArchive& m_archive;
  int m_base;
  const ExtractOptions& m_options;
  ExtractReport& m_report;
  uint64_t m_total = 0;
  bool m_capped = false;
};

}  // namespace

bool ExtractZip(const std::wstring& archivePath, const std::wstring& targetFolder, const ExtractOptions& options,
                ExtractReport* report) {
  ExtractReport local;
  ExtractReport& result = report ? *report : local;
  result = {};
  ZipArchive archive;
  if (!archive.Open(platform::ToUtf8(archivePath))) return false;

  const std::string target = platform::ToUtf8(targetFolder);
  std::error_code ignored;
  std::filesystem::create_directories(target, ignored);
  Descriptor base(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!base.IsOpen()) {
    result.skipped = static_cast<int>(archive.Entries().size());
    return true;
  }
  Extraction extraction(archive, base.Get(), options, result);
  for (const ZipEntry& entry : archive.Entries()) extraction.Entry(entry);
  return true;
}

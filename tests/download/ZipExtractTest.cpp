#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <set>

#include "TestFiles.h"
#include "ZipFixture.h"
#include "platform/TextConvert.h"
#include "support/ExtractZip.h"

namespace {

std::wstring Wide(const std::string& text) { return platform::FromUtf8(text); }

struct stat Stat(const std::string& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info;
}

// Every path below `root`, relative to it, with links marked.
std::set<std::string> Tree(const std::string& root) {
  std::set<std::string> paths;
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    std::string relative = std::filesystem::relative(item.path(), root).string();
    if (item.is_symlink()) relative += " -> link";
    paths.insert(relative);
  }
  return paths;
}

class ZipExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // DOS times are local: a zone away from UTC shows a wrong conversion.
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    archive = folder.Path() + "archive.zip";
    target = folder.Path() + "out/";
  }

  bool Extract(const std::string& bytes, ExtractReport* report = nullptr, ExtractOptions options = {}) {
    WriteWholeFile(archive, bytes);
    return ExtractZip(Wide(archive), Wide(target), options, report);
  }

  TempFolder folder;
  std::string archive;
  std::string target;
};

TEST_F(ZipExtractTest, ArchivesOfTheZipToolRoundTripWithTimesAndModes) {
  const std::string source = folder.Path() + "source/";
  std::filesystem::create_directories(source + "sub/deeper");
  std::filesystem::create_directories(source + "empty-folder");
  struct File {
    std::string name;
    std::string data;
    mode_t mode;
    time_t modified;
  };
  const std::string text(200000, 'k');
  const File files[] = {
      {"deflated.txt", text + NoiseBytes(3000, 1), 0644, 1600000000},
      {"sub/deeper/stored.bin", NoiseBytes(40000, 2), 0644, 1500000002},
      {"tool.exe", "#!/bin/sh\necho hi\n", 0755, 1400000004},
      {"readonly.txt", "keep me", 0444, 1300000006},
      {"empty.txt", "", 0644, 1200000008},
  };
  for (const File& file : files) {
    ASSERT_TRUE(WriteWholeFile(source + file.name, file.data));
    ::chmod((source + file.name).c_str(), file.mode);
    const timespec times[2] = {{file.modified, 0}, {file.modified, 0}};
    ::utimensat(AT_FDCWD, (source + file.name).c_str(), times, 0);
  }
  // With the "UT" field (default) and without it (-X: only DOS local time).
  for (const char* flags : {"", "-X"}) {
    SCOPED_TRACE(std::string("zip ") + flags);
    std::filesystem::remove_all(target);
    ::unlink(archive.c_str());
    const std::string command = "cd '" + source + "' && zip -q -r " + std::string(flags) + " -n .bin '" + archive + "' . >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ExtractReport report;
    ASSERT_TRUE(ExtractZip(Wide(archive), Wide(target), {}, &report));
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(report.skipped, 0);
    for (const File& file : files) {
      SCOPED_TRACE(file.name);
      EXPECT_EQ(ReadWholeFile(target + file.name), file.data);
      const struct stat info = Stat(target + file.name);
      EXPECT_TRUE(S_ISREG(info.st_mode));
      EXPECT_EQ(info.st_mtime, file.modified);
      EXPECT_EQ((info.st_mode & 0111) != 0, (file.mode & 0111) != 0);
      EXPECT_EQ((info.st_mode & 0222) != 0, (file.mode & 0222) != 0);
    }
    EXPECT_TRUE(S_ISDIR(Stat(target + "empty-folder").st_mode));
  }
}

TEST_F(ZipExtractTest, NothingLandsOutsideTheTarget) {
  // Absolute names point at a place of our own, so a fault would show
  // without touching anything that matters.
  const std::string outside = folder.Path() + "outside-evil";
  std::vector<FixtureEntry> entries;
  for (const std::string& name : {std::string("C:\\x\\evil"), std::string("..\\..\\evil"), outside,
                                 std::string("a/../../evil"), std::string("../outside-rel"),
                                 std::string("\\") + outside.substr(1)}) {
    FixtureEntry entry;
    entry.name = name;
    entry.data = "payload of " + name;
    entries.push_back(entry);
  }
  FixtureEntry link;
  link.name = "link";
  link.method = 0;
  link.data = folder.Path();  // a link to the folder above the target
  link.externalAttributes = 0120777u << 16;
  entries.push_back(link);
  FixtureEntry through;
  through.name = "link/through";
  through.data = "inside";
  entries.push_back(through);

  ExtractReport report;
  ASSERT_TRUE(Extract(BuildZip(entries), &report));
  EXPECT_EQ(Tree(target), (std::set<std::string>{"x", "x/evil", "evil", "link", "link/through"}));
  EXPECT_TRUE(S_ISDIR(Stat(target + "link").st_mode));
  EXPECT_EQ(ReadWholeFile(target + "x/evil"), "payload of C:\\x\\evil");
  EXPECT_EQ(ReadWholeFile(target + "evil"), "payload of ..\\..\\evil");
  // Only the archive and the target are in the folder around it.
  EXPECT_EQ(std::filesystem::directory_entry(folder.Path() + "through").exists(), false);
  std::set<std::string> around;
  for (const auto& item : std::filesystem::directory_iterator(folder.Path())) {
    around.insert(item.path().filename().string());
  }
  EXPECT_EQ(around, (std::set<std::string>{"archive.zip", "out"}));
  EXPECT_EQ(report.skipped, 5);
}

TEST_F(ZipExtractTest, ExistingLinksInTheTargetAreReplacedNotFollowed) {
  const std::string victim = folder.Path() + "victim.txt";
  ASSERT_TRUE(WriteWholeFile(victim, "original"));
  std::filesystem::create_directories(target);
  ASSERT_EQ(::symlink(victim.c_str(), (target + "tool.exe").c_str()), 0);
  ASSERT_EQ(::symlink(folder.Path().c_str(), (target + "dir").c_str()), 0);
  FixtureEntry tool;
  tool.name = "tool.exe";
  tool.data = "new tool";
  FixtureEntry below;
  below.name = "dir/victim.txt";
  below.data = "overwritten";
  ExtractReport report;
  ASSERT_TRUE(Extract(BuildZip({tool, below}), &report));
  EXPECT_EQ(ReadWholeFile(victim), "original");
  EXPECT_TRUE(S_ISREG(Stat(target + "tool.exe").st_mode));
  EXPECT_EQ(ReadWholeFile(target + "tool.exe"), "new tool");
  EXPECT_EQ(report.skipped, 1);
}

TEST_F(ZipExtractTest, TimesAndAttributesComeFromTheEntry) {
  FixtureEntry dos;  // DOS attributes only, read-only, 2020-02-29 13:14:16 local
  dos.name = "dos-readonly.txt";
  dos.data = "a";
  dos.madeBy = 0x0014;
  dos.externalAttributes = 0x21;
  dos.dosDate = static_cast<uint16_t>(((2020 - 1980) << 9) | (2 << 5) | 29);
  dos.dosTime = static_cast<uint16_t>((13 << 11) | (14 << 5) | (16 / 2));
  FixtureEntry unixTimes = dos;  // "UT" with modification and access time
  unixTimes.name = "unix-times.sh";
  unixTimes.madeBy = 0x0314;
  unixTimes.externalAttributes = 0100755u << 16;
  unixTimes.localExtra = ExtraBlock(0x5455, std::string("\x03", 1) + Le32(1234567890) + Le32(1234500000));
  unixTimes.centralExtra = ExtraBlock(0x5455, std::string("\x03", 1) + Le32(1234567890));
  FixtureEntry centralOnly = dos;
  centralOnly.name = "central-ut.txt";
  centralOnly.centralExtra = ExtraBlock(0x5455, std::string("\x01", 1) + Le32(1111111111));
  ASSERT_TRUE(Extract(BuildZip({dos, unixTimes, centralOnly})));

  const struct stat readOnly = Stat(target + "dos-readonly.txt");
  EXPECT_EQ(readOnly.st_mtime, 1582978456);  // 12:14:16 UTC
  EXPECT_EQ(readOnly.st_mode & 0222, 0u);
  EXPECT_EQ(readOnly.st_mode & 0111, 0u);
  const struct stat script = Stat(target + "unix-times.sh");
  EXPECT_EQ(script.st_mtime, 1234567890);
  EXPECT_EQ(script.st_atime, 1234500000);
  EXPECT_NE(script.st_mode & 0100, 0u);
  EXPECT_NE(script.st_mode & 0200, 0u);
  EXPECT_EQ(Stat(target + "central-ut.txt").st_mtime, 1111111111);
}

TEST_F(ZipExtractTest, DamagedEntriesStayAsWrittenAndTheOthersFollow) {
  FixtureEntry first;
  first.name = "first.bin";
  first.data = std::string(30000, 'a') + NoiseBytes(30000, 21);
  FixtureEntry damaged = first;
  damaged.name = "damaged.bin";
  damaged.data = NoiseBytes(20000, 22) + std::string(50000, 'b') + NoiseBytes(20000, 23);
  FixtureEntry badCrc;
  badCrc.name = "bad-crc.bin";
  badCrc.method = 0;
  badCrc.data = NoiseBytes(20000, 24);
  badCrc.crcOverride = 0x12345678;
  FixtureEntry encrypted;
  encrypted.name = "encrypted.bin";
  encrypted.flags = 1;
  encrypted.data = "secret";
  FixtureEntry bomb;  // far more data than the directory admits
  bomb.name = "bomb.bin";
  bomb.data = std::string(1 << 20, '\0');
  bomb.sizeOverride = 1000;
  FixtureEntry last = first;
  last.name = "sub/last.bin";

  FixtureLayout layout;
  std::string bytes = BuildZip({first, damaged, badCrc, encrypted, bomb, last}, &layout);
  // Overwrites the middle of the second entry's deflate data.
  for (size_t i = 0; i < 64; ++i) bytes[layout.dataOffsets[1] + layout.dataSizes[1] / 2 + i] = '\xA5';

  ExtractReport report;
  ASSERT_TRUE(Extract(bytes, &report));
  EXPECT_EQ(ReadWholeFile(target + "first.bin"), first.data);
  EXPECT_EQ(ReadWholeFile(target + "sub/last.bin"), last.data);
  EXPECT_EQ(report.written, 2);
  EXPECT_EQ(std::set<std::wstring>(report.failed.begin(), report.failed.end()),
            (std::set<std::wstring>{L"damaged.bin", L"bad-crc.bin", L"encrypted.bin", L"bomb.bin"}));
  // The damaged file holds at most what came out before the damage.
  EXPECT_LT(ReadWholeFile(target + "damaged.bin").size(), damaged.data.size());
  EXPECT_EQ(ReadWholeFile(target + "bad-crc.bin"), badCrc.data);
  EXPECT_TRUE(PathExists(target + "encrypted.bin"));
  EXPECT_EQ(ReadWholeFile(target + "encrypted.bin"), "");
  EXPECT_LE(ReadWholeFile(target + "bomb.bin").size(), 1000u);
}

TEST_F(ZipExtractTest, TotalOutputIsCapped) {
  std::vector<FixtureEntry> entries(3);
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].name = "part" + std::to_string(i);
    entries[i].data = std::string(30000, static_cast<char>('a' + i));
  }
  ExtractOptions options;
  options.maxTotalBytes = 50000;
  ExtractReport report;
  ASSERT_TRUE(Extract(BuildZip(entries), &report, options));
  EXPECT_EQ(ReadWholeFile(target + "part0"), entries[0].data);
  EXPECT_EQ(report.failed, (std::vector<std::wstring>{L"part1", L"part2"}));
  EXPECT_LE(ReadWholeFile(target + "part1").size(), 20000u);
  EXPECT_FALSE(PathExists(target + "part2"));
}

TEST_F(ZipExtractTest, ArchivesThatCannotBeReadAreRefused) {
  FixtureEntry entry;
  entry.name = "a.txt";
  entry.data = std::string(50000, 'z') + NoiseBytes(50000, 31);
  FixtureEntry second = entry;
  second.name = "b.txt";
  FixtureLayout layout;
  const std::string whole = BuildZip({entry, second}, &layout);

  std::string zip64End = whole;
  // Entry count 0xFFFF: the real one lives in a ZIP64 record.
  zip64End.replace(zip64End.size() - 12, 4, "\xFF\xFF\xFF\xFF");
  FixtureEntry zip64Entry = entry;
  zip64Entry.centralExtra = ExtraBlock(0x0001, Le32(0) + Le32(0));

  const std::string cases[] = {
      whole.substr(0, layout.dataOffsets[1] + 100),  // cut off in the second entry
      whole.substr(0, whole.size() - 5),             // cut off in the end record
      "",
      "PK\x03\x04 this is not really an archive",
      zip64End,
      BuildZip({zip64Entry, second}),
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    std::filesystem::remove_all(target);
    EXPECT_FALSE(Extract(bytes));
    EXPECT_FALSE(PathExists(target + "a.txt"));
  }
  EXPECT_FALSE(ExtractZip(Wide(folder.Path() + "missing.zip"), Wide(target)));
}

TEST_F(ZipExtractTest, ADirectoryThatBreaksOffKeepsTheEntriesBeforeIt) {
  std::vector<FixtureEntry> entries(3);
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].name = "file" + std::to_string(i);
    entries[i].data = "content " + std::to_string(i);
  }
  FixtureLayout layout;
  std::string bytes = BuildZip(entries, &layout);
  // The second directory record loses its signature.
  const size_t second = layout.directoryOffset + 46 + entries[0].name.size();
  bytes[second] = 'X';
  ExtractReport report;
  ASSERT_TRUE(Extract(bytes, &report));
  EXPECT_EQ(Tree(target), (std::set<std::string>{"file0"}));
  EXPECT_EQ(ReadWholeFile(target + "file0"), "content 0");
}

TEST_F(ZipExtractTest, AnEmptyArchiveExtractsNothingAndSucceeds) {
  ExtractReport report;
  ASSERT_TRUE(Extract(BuildZip({}), &report));
  EXPECT_TRUE(Tree(target).empty());
  EXPECT_EQ(report.written + report.skipped, 0);
  EXPECT_TRUE(report.failed.empty());
}

}  // namespace

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestFiles.h"
#include "TestHttpServer.h"
#include "ZipFixture.h"
#include "platform/TextConvert.h"
#include "support/Downloader.h"
#include "support/FirmwareToolDownload.h"

namespace {

class RecordingHost : public FirmwareToolHost {
 public:
  bool StartTool(const std::wstring& toolPath) override {
    started.push_back(platform::ToUtf8(toolPath));
    return startWorks;
  }
  void EndProgram() override { ++ended; }

  bool startWorks = true;
  std::vector<std::string> started;
  int ended = 0;
};

FixtureEntry Entry(const std::string& name, const std::string& data) {
  FixtureEntry entry;
  entry.name = name;
  entry.data = data;
  entry.externalAttributes = 0100755u << 16;
  return entry;
}

class FirmwareToolDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("http_proxy");
    ::unsetenv("HTTP_PROXY");
    ::unsetenv("ALL_PROXY");
    ASSERT_TRUE(server.Start());
    temp = folder.Path() + "temp/";
  }

  FirmwareToolResult Run(const std::string& firmwarePath, const std::wstring& version = L"") {
    FirmwareToolRequest request;
    request.firmwareUrl = platform::FromUtf8(server.Url(firmwarePath));
    request.userDataFolder = folder.WidePath();
    request.versionText = version;
    Downloader downloader;
    return DownloadFirmwareTool(request, downloader, &window, host);
  }

  TempFolder folder;
  TestHttpServer server;
  RecordingTarget window;
  RecordingHost host;
  std::string temp;
};

TEST_F(FirmwareToolDownloadTest, ACompleteArchiveIsExtractedAndItsToolStarted) {
  const std::string tool = NoiseBytes(70000, 41);
  server.Serve("/fw//FirmwareUpdateTool-.zip",
               TestResponse::Ok(BuildZip({Entry("FirmwareUpdateTool-.exe", tool), Entry("data/table.bin", "t")})));
  EXPECT_EQ(Run("/fw"), FirmwareToolResult::ToolStarted);
  EXPECT_EQ(host.started, (std::vector<std::string>{temp + "FirmwareUpdateTool-.exe"}));
  EXPECT_EQ(host.ended, 1);
  EXPECT_EQ(ReadWholeFile(temp + "FirmwareUpdateTool-.exe"), tool);
  EXPECT_EQ(ReadWholeFile(temp + "data/table.bin"), "t");
  EXPECT_FALSE(PathExists(temp + "FirmwareUpdateTool-.zip"));
  EXPECT_EQ(window.Values().back(), 100);
}

TEST_F(FirmwareToolDownloadTest, TheAddressJoinsWithTwoSlashesAndNamesCarryTheVersion) {
  struct Case {
    std::string firmwarePath;
    std::wstring version;
    std::string requested;
    std::string toolName;
  };
  const Case cases[] = {
      {"/fw/", L"", "/fw///FirmwareUpdateTool-.zip", "FirmwareUpdateTool-.exe"},
      {"/fw", L"2.1", "/fw//FirmwareUpdateTool-2.1.zip", "FirmwareUpdateTool-2.1.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    host = RecordingHost();
    server.Serve(c.requested, TestResponse::Ok(BuildZip({Entry(c.toolName, "tool")})));
    EXPECT_EQ(Run(c.firmwarePath, c.version), FirmwareToolResult::ToolStarted);
    EXPECT_EQ(server.Requests().back().rfind("GET " + c.requested + " ", 0), 0u) << server.Requests().back();
    EXPECT_EQ(host.started, (std::vector<std::string>{temp + c.toolName}));
  }
}

TEST_F(FirmwareToolDownloadTest, NothingIsStartedUnlessEverythingWorked) {
  FixtureEntry damagedTool = Entry("FirmwareUpdateTool-.exe", "tool");
  damagedTool.crcOverride = 0xDEADBEEF;
  const std::string good = BuildZip({Entry("FirmwareUpdateTool-.exe", NoiseBytes(50000, 43))});
  server.Serve("/short//FirmwareUpdateTool-.zip", TestResponse::Ok(good).CloseAfter(good.size() / 2));
  server.Serve("/damaged//FirmwareUpdateTool-.zip", TestResponse::Ok(BuildZip({damagedTool})));
  server.Serve("/nozip//FirmwareUpdateTool-.zip", TestResponse::Ok("<html>maintenance</html>"));
  server.Serve("/notool//FirmwareUpdateTool-.zip", TestResponse::Ok(BuildZip({Entry("readme.txt", "r")})));
  struct Case {
    std::string path;
    FirmwareToolResult result;
    bool archiveKept;
  };
  const Case cases[] = {
      {"/missing", FirmwareToolResult::NotDownloaded, false},
      {"/short", FirmwareToolResult::NotDownloaded, false},
      {"/damaged", FirmwareToolResult::NotExtracted, false},
      {"/nozip", FirmwareToolResult::NotExtracted, true},
      {"/notool", FirmwareToolResult::ToolMissing, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::filesystem::remove_all(temp);
    // A complete archive from an earlier attempt must not be used instead.
    std::filesystem::create_directories(temp);
    WriteWholeFile(temp + "FirmwareUpdateTool-.zip", good);
    EXPECT_EQ(Run(c.path), c.result);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.ended, 0);
    EXPECT_EQ(PathExists(temp + "FirmwareUpdateTool-.zip"), c.archiveKept);
  }
}

TEST_F(FirmwareToolDownloadTest, TheProgramKeepsRunningWhenTheToolDoesNotStart) {
  server.Serve("/fw//FirmwareUpdateTool-.zip", TestResponse::Ok(BuildZip({Entry("FirmwareUpdateTool-.exe", "x")})));
  host.startWorks = false;
  EXPECT_EQ(Run("/fw"), FirmwareToolResult::ToolNotStarted);
  EXPECT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.ended, 0);
}

}  // namespace

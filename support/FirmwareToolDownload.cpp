#include "support/FirmwareToolDownload.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Shell.h"
#include "platform/TextConvert.h"
#include "support/Downloader.h"
#include "support/ExtractZip.h"

namespace {

void RemoveFile(const std::wstring& path) { ::unlink(platform::ToUtf8(path).c_str()); }

bool IsRegularFile(const std::wstring& path) {
  struct stat info {};
  return ::lstat(platform::ToUtf8(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool FirmwareToolHost::StartTool(const std::wstring& toolPath) { return platform::ShellOpen(toolPath); }

std::wstring FirmwareArchiveName(const std::wstring& versionText) {
  return L"FirmwareUpdateTool-" + versionText + L".zip";
}

std::wstring FirmwareToolName(const std::wstring& versionText) {
  return L"FirmwareUpdateTool-" + versionText + L".exe";
}

FirmwareToolResult DownloadFirmwareTool(const FirmwareToolRequest& request, Downloader& downloader,
                                        platform::MessageTarget* window, FirmwareToolHost& host) {
  const std::wstring archiveName = FirmwareArchiveName(request.versionText);
  // The firmware server has always been asked with a doubled slash; it is
  // kept so that the address stays the one the server knows.
  const std::wstring url = request.firmwareUrl + L"//" + archiveName;

  std::wstring tempFolder = request.userDataFolder;
  if (!tempFolder.empty() && tempFolder.back() != L'/') tempFolder += L'/';
  tempFolder += L"temp/";
  std::error_code ignored;
  std::filesystem::create_directories(platform::ToUtf8(tempFolder), ignored);
  const std::wstring archivePath = tempFolder + archiveName;
  // An archive left from an earlier attempt must never be taken for this
  // one's.
  RemoveFile(archivePath);

  if (downloader.DownloadFile(url, archivePath, window) != kDownloadComplete) {
    RemoveFile(archivePath);
    return FirmwareToolResult::NotDownloaded;
  }

  ExtractReport report;
  const bool opened = ExtractZip(archivePath, tempFolder, ExtractOptions{}, &report);
  // An archive that is no zip stays for a look; an extracted one is not
  // needed any more.
  if (opened) RemoveFile(archivePath);
  if (!opened || !report.failed.empty()) return FirmwareToolResult::NotExtracted;

  const std::wstring toolPath = tempFolder + FirmwareToolName(request.versionText);
  if (!IsRegularFile(toolPath)) return FirmwareToolResult::ToolMissing;
  if (!host.StartTool(toolPath)) return FirmwareToolResult::ToolNotStarted;
  host.EndProgram();
  return FirmwareToolResult::ToolStarted;
}

#pragma once
// Fetches the keyboard's firmware update tool: downloads its archive into
// the user data folder's temp/ folder, extracts it there and starts the
// tool, after which the program ends so that the tool can take over the
// keyboard.
//
// Thread rules: runs on the controller's worker; the host's operations are
// called on that thread.
#include <string>

class Downloader;
namespace platform {
class MessageTarget;
}

// What the caller lets the download do outside the file system.
class FirmwareToolHost {
 public:
  virtual ~FirmwareToolHost() = default;
  // Starts the extracted tool; true when it was started.  By default the
  // desktop's way of opening a file (platform::ShellOpen).
  virtual bool StartTool(const std::wstring& toolPath);
  // Ends the program at once, without the usual teardown.  Called only
  // after the tool was started.
  virtual void EndProgram() = 0;
};

struct FirmwareToolRequest {
  std::wstring firmwareUrl;     // the device description's firmware address
  std::wstring userDataFolder;  // platform::UserDataFolder, ending in '/'
  std::wstring versionText;     // goes into the file names; empty by default
};

enum class FirmwareToolResult {
  ToolStarted,     // the program has been asked to end
  NotDownloaded,   // the download failed or was stopped; nothing is left
  NotExtracted,    // the archive is no zip or some of its files are damaged
  ToolMissing,     // the archive holds no tool of the expected name
  ToolNotStarted,  // the tool is there but could not be started
};

// "FirmwareUpdateTool-<version>.zip" and "FirmwareUpdateTool-<version>.exe".
std::wstring FirmwareArchiveName(const std::wstring& versionText);
std::wstring FirmwareToolName(const std::wstring& versionText);

// The whole flow.  Progress of the download goes to `window` (may be null).
// The tool is started only from a complete download whose every file was
// extracted intact; the program ends only when the tool was started.
// Otherwise the result says what went wrong and the program keeps running.
FirmwareToolResult DownloadFirmwareTool(const FirmwareToolRequest& request, Downloader& downloader,
                                        platform::MessageTarget* window, FirmwareToolHost& host);

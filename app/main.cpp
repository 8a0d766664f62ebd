// Entry point of Kestrel.  Start-up runs in full; the main window is not
// built yet, so the run ends by telling what start-up settled.
#include <cstdio>

#include "app/AppContext.h"
#include "app/Startup.h"
#include "platform/ProgramInstance.h"
#include "platform/SettingsFile.h"
#include "platform/TextConvert.h"
#include "toolkit/core/Manager.h"

namespace {

int ShowSummary(StartupContext& context) {
  using platform::ToUtf8;
  const std::wstring settings = platform::SettingsFile::FolderFor(Manager::GetDeviceName());
  std::printf("%s\n", ToUtf8(Manager::GetDeviceName()).c_str());
  std::printf("  language id:     %d\n", LanguageId.load());
  std::printf("  program folder:  %s\n", ToUtf8(context.programFolder).c_str());
  std::printf("  data folder:     %s%s\n", ToUtf8(context.userDataFolder).c_str(),
              context.dataFolderUsable ? "" : " (not writable)");
  std::printf("  settings folder: %s\n", ToUtf8(settings).c_str());
  std::printf("The main window comes in a later build; nothing else runs yet.\n");
  return 0;
}

}  // namespace

int main() {
  StartupOptions options;
  options.instance = platform::ProgramInstance();
  return RunStartup(options, ShowSummary);
}

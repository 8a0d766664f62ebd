#include "app/Startup.h"

#include <cstdio>

#include "app/AppContext.h"
#include "app/HandOver.h"
#include "app/Registry.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/TextConvert.h"
#include "platform/UiLanguage.h"
#include "support/XmlDocument.h"

namespace {

constexpr int kEnglish = 1033;
constexpr int kTurkish = 1055;

}  // namespace

std::wstring ReadDeviceName(const std::wstring& configPath) {
  XmlDocument document;
  if (!document.LoadFile(configPath) || !document.WellFormed()) return {};
  if (!document.FindElement(L"config") || !document.EnterElement()) return {};
  if (!document.FindElement(L"software")) return {};
  return document.GetAttribute(L"name");
}

LanguageChoice ChooseLanguage(int stored, int uiLanguage) {
  if (stored != 0) return {stored, 0};
  return {uiLanguage, uiLanguage == kEnglish ? kEnglish : kTurkish};
}

int StartLanguage() {
  const LanguageChoice choice = ChooseLanguage(ReadStoredLanguage(), platform::UserDefaultUILanguage());
  if (choice.toStore != 0) WriteStoredLanguage(choice.toStore);
  LanguageId = choice.inUse;
  return choice.inUse;
}

bool PrepareDatabaseFolder(const std::wstring& databaseFolder) {
  if (platform::CreateFolderPath(databaseFolder) && platform::IsWritableFolder(databaseFolder)) {
    return true;
  }
  std::fprintf(stderr,
               "%s: the data folder \"%s\" cannot be created or written; "
               "settings will not be saved in this run.\n",
               platform::ToUtf8(Manager::GetDeviceName()).c_str(),
               platform::ToUtf8(databaseFolder).c_str());
  return false;
}

int RunStartup(const StartupOptions& options, const MainWindowStep& runMainWindow) {
  // HandOver outlives the instance lock, whose listener thread delivers to it.
  HandOver handOver;
  StartupContext context{handOver};
  context.programFolder =
      options.programFolder.empty() ? platform::ModuleFolder() : options.programFolder;
  if (!context.programFolder.empty() && context.programFolder.back() != L'/') {
    context.programFolder += L'/';
  }

  // An empty name would leave every folder and lock without a name of its
  // own, so only a real name replaces the built-in one.
  const std::wstring name = ReadDeviceName(context.programFolder + L"config.xml");
  if (!name.empty()) Manager::SetDeviceName(name);

  const std::wstring deviceName = Manager::GetDeviceName();
  const std::wstring dataFolder = platform::UserDataFolder(deviceName);
  platform::InstanceLock instance(deviceName, dataFolder);
  if (!instance.IsFirst()) {
    platform::InstanceLock::SendToRunningInstance(deviceName, dataFolder,
                                                  platform::InstanceRequest{});
    return 0;
  }
  context.channelOpen = instance.StartListening(
      [&handOver](const platform::InstanceRequest& request) { handOver.Deliver(request); });

  StartLanguage();
  Manager::SetInstance(options.instance);

  context.userDataFolder = dataFolder;
  context.databaseFolder = DatabaseFolder();
  context.dataFolderUsable = PrepareDatabaseFolder(context.databaseFolder);

  return runMainWindow(context);
}

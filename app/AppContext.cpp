#include "app/AppContext.h"

#include "platform/Paths.h"
#include "platform/UiLanguage.h"
#include "toolkit/core/Manager.h"

std::atomic<int> LanguageId{platform::kEnglishUnitedStates};

std::wstring ModuleFolder() { return platform::ModuleFolder(); }

std::wstring UserDataFolder() { return platform::UserDataFolder(Manager::GetDeviceName()); }

std::wstring DatabaseFolder() { return UserDataFolder() + L"db"; }

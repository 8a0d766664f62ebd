#include "toolkit/core/SkinFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/TextConvert.h"
#include "toolkit/core/Manager.h"

namespace SkinFolder {
namespace {

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::wstring ApplicationDirectory() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || exe.empty()) return L"./";
  const std::filesystem::path folder = exe.parent_path();
  if (!IsFile(folder / "config.xml")) {
    // An installed program keeps its files in <prefix>/share/kestrel/.
    const std::filesystem::path shared = folder.parent_path() / "share" / "kestrel";
    if (IsFile(shared / "config.xml")) return platform::FromUtf8(shared.string()) + L"/";
  }
  return platform::FromUtf8(folder.string()) + L"/";
}

std::wstring SkinDirectory() { return ApplicationDirectory() + L"skins/" + Manager::GetTheme(); }

std::wstring FontDirectory() { return ApplicationDirectory() + L"font/"; }

std::wstring SkinFile(const CString& name) {
  std::wstring path = name;
  for (wchar_t& c : path) {
    if (c == L'\\') c = L'/';
  }
  return SkinDirectory() + path;
}

}  // namespace SkinFolder

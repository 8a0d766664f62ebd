#include "toolkit/core/FontRegistry.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/TextConvert.h"
#include "toolkit/core/Resources.h"
#include "toolkit/core/TextEngine.h"

namespace text_engine {

std::mutex& TextMutex() {
  static std::mutex mutex;
  return mutex;
}

namespace {
PangoFontMap*& FontMapSlot() {
  static PangoFontMap* map = nullptr;
  return map;
}
}  // namespace

PangoFontMap* FontMap() {
  PangoFontMap*& map = FontMapSlot();
  if (!map) {
    map = pango_cairo_font_map_new();
  }
  return map;
}

void ReloadFonts() {
  PangoFontMap*& map = FontMapSlot();
  if (map) {
    g_object_unref(map);
    map = nullptr;
  }
}

}  // namespace text_engine

namespace {

// Files written for fonts that came from memory; removed when the process
// ends (fontconfig opens them lazily, so they must stay until then).
class TemporaryFontFiles {
 public:
  ~TemporaryFontFiles() {
    for (const std::string& path : m_paths) {
      unlink(path.c_str());
    }
  }
  void Add(std::string path) { m_paths.push_back(std::move(path)); }

 private:
  std::vector<std::string> m_paths;
};

struct Registry {
  std::mutex mutex;
  std::map<std::wstring, std::wstring> families;  // given name -> family in the file
  TemporaryFontFiles temporaries;
};

Registry& GetRegistry() {
  static Registry registry;
  return registry;
}

// The most specific family the file names (for "Open Sans, Open Sans
// Semibold" the second, which selects the semibold face by itself).
std::wstring FamilyInFile(const std::string& path) {
  int count = 0;
  FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
  if (!pattern) {
    return {};
  }
  std::wstring family;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    family = platform::FromUtf8(reinterpret_cast<const char*>(name));
  }
  FcPatternDestroy(pattern);
  return family;
}

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Makes fontconfig itself answer the given name with the file's family, so
// anything that asks fontconfig by that name finds the font.
void AddFontconfigAlias(const std::wstring& name, const std::wstring& family) {
  if (name == family) return;
  const std::string rules = "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                            "<alias binding=\"strong\"><family>" + XmlEscaped(platform::ToUtf8(name)) +
                            "</family><prefer><family>" + XmlEscaped(platform::ToUtf8(family)) +
                            "</family></prefer></alias></fontconfig>";
  FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(rules.c_str()), FcFalse);
}

std::string TemporaryFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && access(runtime, W_OK) == 0) {
    return runtime;
  }
  return "/tmp";
}

}  // namespace

namespace FontRegistry {

bool AddFontFile(const std::wstring& family, const std::string& path) {
  if (family.empty()) {
    return false;
  }
  Registry& registry = GetRegistry();
  {
    std::scoped_lock lock(registry.mutex);
    if (registry.families.count(family)) {
      return true;
    }
  }
  const std::wstring inFile = FamilyInFile(path);
  if (inFile.empty()) {
    return false;
  }
  {
    std::scoped_lock textLock(text_engine::TextMutex());
    if (!FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(path.c_str()))) {
      return false;
    }
    AddFontconfigAlias(family, inFile);
    text_engine::ReloadFonts();
  }
  std::scoped_lock lock(registry.mutex);
  registry.families.emplace(family, inFile);
  return true;
}

bool AddFontResource(const std::wstring& family, unsigned resourceId) {
  const ResourceEntry* entry = ResourceModule::Toolkit().Find(resourceId, L"TTF");
  if (!entry) {
    return false;
  }
  if (IsRegistered(family)) {
    return true;
  }
  std::string path = TemporaryFolder() + "/taviui-font-" + std::to_string(getpid()) + "-" +
                     std::to_string(resourceId) + "-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) {
    return false;
  }
  size_t written = 0;
  while (written < entry->size) {
    const ssize_t n = write(fd, entry->data + written, entry->size - written);
    if (n <= 0) {
      break;
    }
    written += static_cast<size_t>(n);
  }
  close(fd);
  if (written != entry->size) {
    unlink(path.c_str());
    return false;
  }
  {
    std::scoped_lock lock(GetRegistry().mutex);
    GetRegistry().temporaries.Add(path);
  }
  return AddFontFile(family, path);
}

bool IsRegistered(const std::wstring& family) {
  Registry& registry = GetRegistry();
  std::scoped_lock lock(registry.mutex);
  return registry.families.count(family) != 0;
}

bool IsInstalled(const std::wstring& family) {
  const std::string name = platform::ToUtf8(family);
  if (name.empty()) return false;
  // Through Pango, not fontconfig directly: Pango's font map finishes its
  // own (threaded) fontconfig set-up before it answers.
  std::scoped_lock lock(text_engine::TextMutex());
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(text_engine::FontMap(), &families, &count);
  bool found = false;
  for (int i = 0; i < count && !found; ++i) {
    found = g_ascii_strcasecmp(pango_font_family_get_name(families[i]), name.c_str()) == 0;
  }
  g_free(families);
  return found;
}

std::wstring Resolve(const std::wstring& family) {
  Registry& registry = GetRegistry();
  std::scoped_lock lock(registry.mutex);
  auto found = registry.families.find(family);
  return found == registry.families.end() ? family : found->second;
}

bool EnsureEmbeddedFont() {
  static const bool available = AddFontResource(kEmbeddedFontFamily, kEmbeddedFontResource);
  return available;
}

void Clear() {
  Registry& registry = GetRegistry();
  std::scoped_lock lock(registry.mutex);
  // The embedded font is the toolkit's own and stays registered.
  std::erase_if(registry.families, [](const auto& entry) { return entry.first != kEmbeddedFontFamily; });
}

}  // namespace FontRegistry

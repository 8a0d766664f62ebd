#include "toolkit/core/Resources.h"

#include <cwctype>

// Generated at build time from toolkit/resources/ and the font package.
extern const ResourceEntry kTaviuiResources[];
extern const size_t kTaviuiResourcesCount;

namespace {
bool SameType(const wchar_t* a, const std::wstring& b) {
  size_t i = 0;
  for (; a[i] != 0 && i < b.size(); ++i) {
    if (std::towupper(a[i]) != std::towupper(b[i])) {
      return false;
    }
  }
  return a[i] == 0 && i == b.size();
}
}  // namespace

const ResourceEntry* ResourceModule::Find(unsigned id, const std::wstring& type) const {
  for (size_t i = 0; i < m_count; ++i) {
    if (m_entries[i].id == id && SameType(m_entries[i].type, type)) {
      return &m_entries[i];
    }
  }
  return nullptr;
}

const ResourceModule& ResourceModule::Toolkit() {
  static const ResourceModule module(kTaviuiResources, kTaviuiResourcesCount);
  return module;
}

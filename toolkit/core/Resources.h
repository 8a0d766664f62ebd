#pragma once
// Files compiled into a module (the toolkit library or the program) and
// found by numeric id and type, as the skins and the toolkit ask for them.
// The tables are constant data: safe from any thread.
#include <cstddef>
#include <cstdint>
#include <string>

struct ResourceEntry {
  unsigned id;
  const wchar_t* type;  // "PNG", "GIF", "TTF", ... compared without case
  const uint8_t* data;
  size_t size;
};

class ResourceModule {
 public:
  constexpr ResourceModule(const ResourceEntry* entries, size_t count) : m_entries(entries), m_count(count) {}
  // The resource, or null when the module has none of that id and type.
  const ResourceEntry* Find(unsigned id, const std::wstring& type) const;
  // The toolkit library's own resources (scroll-bar images 101 and 102, the
  // embedded font 106).
  static const ResourceModule& Toolkit();

 private:
  const ResourceEntry* m_entries;
  size_t m_count;
};

// The design's module handle: which module's resources to look in.
using HINSTANCE = const ResourceModule*;

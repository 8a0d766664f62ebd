#pragma once
// Private fonts: font files (or font resources of the toolkit library) made
// available to text drawing under a family name of the caller's choosing.
// Registration is process-wide (fontconfig has one configuration per
// process); the name a caller gives maps to the family inside the file.
// The toolkit's embedded font (resource 106, Open Sans Semibold) is
// registered before the first text is drawn or measured.
// Thread-safety: every operation may be called from any thread.
#include <string>

namespace FontRegistry {

// The family name under which the embedded font is registered.
inline constexpr const wchar_t* kEmbeddedFontFamily = L"Open Sans Semibold";
inline constexpr unsigned kEmbeddedFontResource = 106;

// Registers the file under `family`; false when the file holds no font.
// A family name that is already registered keeps its first file.
bool AddFontFile(const std::wstring& family, const std::string& path);
// The same for a "TTF" resource of the toolkit library.
bool AddFontResource(const std::wstring& family, unsigned resourceId);
bool IsRegistered(const std::wstring& family);
// True when fontconfig knows an installed (or registered) font of exactly
// this family name.
bool IsInstalled(const std::wstring& family);
// The family to ask the text engine for: the file's own family for a
// registered name, otherwise the name itself (an installed family).
std::wstring Resolve(const std::wstring& family);
// Registers the embedded font once; true when it is available.
bool EnsureEmbeddedFont();
// Forgets every registered name (the files stay known to fontconfig until
// the process ends).
void Clear();

}  // namespace FontRegistry

#pragma once
// The language tables: every text the user sees is looked up by number in
// section "KB.DIALOG" of "language/<language id>.lan" beside the program.
//
// The file is read again on every call (nothing is cached), so a language
// file edited while the program runs shows at the next lookup.  A missing
// file, section or key gives empty text; texts are cut to 259 characters.
// Accepted encodings: UTF-8 with or without a byte-order mark, UTF-16 with a
// mark (little or big endian), and otherwise the locale's 8-bit code set
// (Windows-1252 when the locale is UTF-8 or plain C).
//
// Pure functions over the file system; any thread.
#include <string>
#include <string_view>

// The section that holds every application text.
inline constexpr wchar_t kLanguageSection[] = L"KB.DIALOG";

// Longest text a lookup returns, in characters.
inline constexpr std::size_t kMaxLanguageText = 259;

// Looks `id` up in section `section` of the current language's file,
// ModuleFolder() + "language/" + LanguageId + ".lan".
std::wstring GetLanguageString(const std::wstring& section, int id);

// Looks `id` up in section `section` of `languageFolder` + "<languageId>.lan".
// The key is the id written with "%d", so "0065" in a file is another key
// than 65.  `languageFolder` ends in '/'.
std::wstring ReadLanguageString(const std::wstring& languageFolder, int languageId,
                                const std::wstring& section, int id);

// The same lookup in a text already decoded from a language file; used by
// ReadLanguageString and by the fuzz target of the file format.
std::wstring FindLanguageString(std::wstring_view fileText, const std::wstring& section,
                                const std::wstring& key);

// Decodes the bytes of a language file by its byte-order mark, a UTF-8 test
// and the ANSI fallback described above.
std::wstring DecodeLanguageFile(std::string_view bytes);

#pragma once
// What the profile and macro exchange files share: the declaration line
// every file starts with, how numbers and names are read from them, and the
// result of an export.  Pure functions; any thread.
#include <string>

// The first line of every exchange file; the files are UTF-8 without a byte
// order mark with CR LF line ends.
inline constexpr wchar_t kExchangeDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

enum class ExportResult {
  Saved,
  // No profile or macro was given (id 0 or below): the page tells the user
  // to select one.
  NothingSelected,
  // The profile's or macro's rows could not be read; no file was written.
  ReadFailed,
  // The file could not be written.
  SaveFailed,
};

// An attribute's number: leading white space, an optional sign and decimal
// digits up to the first other character; empty or absent text is 0, and
// values beyond the int range stop at its ends.
int ParseDecimal(const std::wstring& text);

// The name an imported profile or macro gets: the file's name without its
// folder, cut before its first '.' (empty without any '.').
std::wstring NameFromFileName(const std::wstring& path);

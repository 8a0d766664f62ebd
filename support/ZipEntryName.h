#pragma once
// Turns an archive entry's stored name into a path that is safe to create
// below the extraction folder.  Pure functions; any thread.
#include <string>

#include "support/ZipArchive.h"

// The entry's name as wide text: UTF-8 when the entry's flag bit 11 says so
// or when it carries an Info-ZIP Unicode path that matches the stored name,
// otherwise the IBM PC code page 437 that archivers use by default.
std::wstring DecodeZipEntryName(const ZipEntry& entry);

// The relative path, components joined with '/', under which an entry named
// `name` is written; empty when the entry must be skipped.  Backslashes
// separate folders like slashes.  Names that start with a slash are
// absolute and skipped.  Drive prefixes ("C:"), leading separators and
// everything up to and including a "/../" part are dropped repeatedly;
// "." and empty components are dropped; a ".." that is left, or a NUL
// character, skips the entry, so no path can leave the folder.
std::wstring MakeSafeEntryPath(const std::wstring& name);

#pragma once
// Extracts a .ZIP archive into a folder.  Any thread; two extractions into
// the same folder at once are not supported.
#include <cstdint>
#include <string>
#include <vector>

struct ExtractOptions {
  // Output beyond this total is not written (archive bombs); the entry that
  // reaches it and all later ones count as failed.
  uint64_t maxTotalBytes = uint64_t{4} * 1024 * 1024 * 1024;
};

// What happened to the entries, for callers that need more than "opened".
struct ExtractReport {
  int written = 0;  // files and folders created completely and intact
  int skipped = 0;  // unsafe names, links, folders or files that could not be created
  // Files that were created but stay incomplete or wrong: damaged or
  // encrypted data, CRC mismatch, a failed write, the output cap.
  std::vector<std::wstring> failed;
};

// Extracts every entry of `archivePath` below `targetFolder` (created when
// missing).  False only when the archive cannot be opened as a zip (not
// readable, no directory, ZIP64, several disks); true otherwise, even when
// single entries fail: such a file stays as far as it was written and the
// next entry follows.  Nothing is ever written outside `targetFolder`, and no
// symbolic link is created: link entries are skipped.
bool ExtractZip(const std::wstring& archivePath, const std::wstring& targetFolder,
                const ExtractOptions& options = {}, ExtractReport* report = nullptr);

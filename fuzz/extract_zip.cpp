// Extracts arbitrary bytes as a zip archive into a temporary folder and
// checks that nothing was created outside the target and that no link was
// created anywhere.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/TextConvert.h"
#include "support/ExtractZip.h"

namespace {

// root/archive.zip and root/a/b/c/out/: a few levels, so that an entry
// escaping by one or more ".." steps shows up inside root.
const std::string& Root() {
  static const std::string root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-extract-zip-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) abort();
    std::filesystem::create_directories(pattern + "/a/b/c");
    return pattern + "/";
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& root = Root();
  const std::string archive = root + "archive.zip";
  const std::string target = root + "a/b/c/out/";
  {
    std::ofstream out(archive, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ExtractOptions options;
  options.maxTotalBytes = 8 * 1024 * 1024;
  ExtractZip(platform::FromUtf8(archive), platform::FromUtf8(target), options);

  const std::set<std::string> expected = {"archive.zip", "a", "a/b", "a/b/c", "a/b/c/out"};
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    const std::string relative = std::filesystem::relative(item.path(), root).string();
    if (item.is_symlink()) {
      std::fprintf(stderr, "link created: %s\n", relative.c_str());
      abort();
    }
    if (!expected.count(relative) && relative.rfind("a/b/c/out/", 0) != 0) {
      std::fprintf(stderr, "written outside the target: %s\n", relative.c_str());
      abort();
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(target, ignored);
  return 0;
}

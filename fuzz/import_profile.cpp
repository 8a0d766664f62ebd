// Feeds arbitrary file bytes to the profile and macro imports on a real
// store in a temporary folder.  Neither may crash, and an import either adds
// exactly what it reports or leaves every table as it was.  A trigger makes
// some values impossible to store, so that the fuzzer also reaches imports
// that fail half-way.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/TextConvert.h"
#include "store/MacroFile.h"
#include "store/ProfileFile.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kRefusedValue = 4242;
constexpr int kRowsBeforeReset = 20000;

struct Fixture {
  std::string folder;
  std::wstring wideFolder;
  SettingsStore store;

  Fixture() {
    char pattern[] = "/tmp/kestrel-fuzz-import.XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
      abort();
    }
    folder = std::string(made) + "/";
    ::mkdir((folder + "db").c_str(), 0700);
    wideFolder = platform::FromUtf8(folder);
    Reset();
  }

  void Reset() {
    store.Delete(wideFolder, L"Fuzz");
    if (!store.Open(wideFolder, L"Fuzz")) {
      abort();
    }
    store.Exec(
        "CREATE TRIGGER refuse_keys BEFORE INSERT ON t_key_macro_data WHEN NEW.key_code = 4242 "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;"
        "CREATE TRIGGER refuse_events BEFORE INSERT ON t_macrorecord WHEN NEW.value = 4242 "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    store.DbAddMacro(L"Existing");
  }

  int Count(const char* table) {
    SQLiteStatement statement;
    const std::string sql = std::string("SELECT count(*) FROM ") + table;
    if (store.Prepare(statement, sql.c_str()) != 0 || statement.Step() != 100) {
      abort();
    }
    return statement.ColumnInt(0);
  }

  struct Counts {
    int profiles, macros, events, keys;
    bool operator==(const Counts&) const = default;
  };
  Counts Take() {
    return {Count("t_profile_data"), Count("t_macro_data"), Count("t_macrorecord"), Count("t_key_macro_data")};
  }
};

static_assert(kRefusedValue == 4242, "the triggers above name this value");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  const std::string file = fixture.folder + "Fuzz.case.xml";
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) {
    abort();
  }
  std::fwrite(data, 1, size, out);
  std::fclose(out);
  const std::wstring path = platform::FromUtf8(file);

  const Fixture::Counts before = fixture.Take();
  const ProfileImport profile = ImportProfile(fixture.store, path);
  const Fixture::Counts between = fixture.Take();
  if (!profile.imported) {
    if (!(between == before)) {
      abort();  // a failed import left rows behind
    }
  } else if (between.profiles != before.profiles + 1 ||
             between.macros != before.macros + static_cast<int>(profile.macros.size()) ||
             profile.name != L"Fuzz" || fixture.store.DbGetCurrentProfile() != profile.profile) {
    abort();
  }

  const MacroImport macro = ImportMacro(fixture.store, path);
  const Fixture::Counts after = fixture.Take();
  if (!macro.imported) {
    if (!(after == between)) {
      abort();
    }
  } else if (after.macros != between.macros + 1 || after.profiles != between.profiles ||
             after.keys != between.keys || macro.name != L"Fuzz") {
    abort();
  }

  if (after.events + after.keys > kRowsBeforeReset) {
    fixture.Reset();
  }
  ::unlink(file.c_str());
  return 0;
}

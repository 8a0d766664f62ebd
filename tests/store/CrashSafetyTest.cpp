// A writer killed at random moments must leave a sound file in which every
// batch is stored whole or not at all.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "StoreTestSupport.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kEvents = 40;
constexpr int kKeys = 87;
constexpr int kReplacedMacro = 1;
constexpr int kAppendedMacro = 2;
constexpr int kAppendedRounds = 20;

// The child's work, in a loop until it is killed: replaces a macro's events,
// the per-key colours and one key's assignment, and for its first rounds
// appends a batch of events to a second macro.
[[noreturn]] void WriteUntilKilled(const TempFolder& folder, int life) {
  SettingsStore store;
  if (!store.Open(folder.Wide(), kKeyboard)) {
    _exit(2);
  }
  for (int round = 1;; ++round) {
    const int tag = life * 100000 + round;
    std::vector<MacroEvent> events;
    for (int i = 0; i < kEvents; ++i) {
      events.push_back({0, kReplacedMacro, 2 + i % 2, i, tag, 5, L"k"});
    }
    store.DbReplaceMacroEvents(kReplacedMacro, events);
    std::vector<KeyLight> colours;
    for (int key = 0; key < kKeys; ++key) {
      colours.push_back({0, 1, kUserKeyLightId, 4 + key, tag});
    }
    store.DbReplaceKeyLights(colours);
    store.DbSaveKeyAssignment({0, 1, 0, 0x04, 0, L"", 1, tag, 0, 0, L""});
    if (round <= kAppendedRounds) {
      for (int i = 0; i < kEvents; ++i) {
        events.push_back({0, kAppendedMacro, 2, i, tag, 5, L"a"});
      }
      store.DbAddMacroEvents(events);
    }
  }
}

TEST(StoreCrashSafety, BatchesSurviveSigkillWholeOrNotAtAll) {
  TempFolder folder;
  {
    SettingsStore store;
    ASSERT_TRUE(store.Open(folder.Wide(), kKeyboard));
    ASSERT_EQ(store.DbAddMacro(L"Replaced"), kReplacedMacro);
    ASSERT_EQ(store.DbAddMacro(L"Appended"), kAppendedMacro);
  }
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pause(1000, 30000);  // microseconds

  bool stored = false;  // once a batch is in, a replacement never empties it
  int killedMidWork = 0;
  for (int life = 1; life <= 50; ++life) {
    // No connection may be open across the fork.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      WriteUntilKilled(folder, life);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself with " << status;
    killedMidWork += WIFSIGNALED(status) ? 1 : 0;

    SettingsStore store;
    ASSERT_TRUE(store.Open(folder.Wide(), kKeyboard));
    ASSERT_EQ(Scalar(store, "PRAGMA integrity_check"), "ok") << "after life " << life;

    std::vector<MacroEvent> events;
    const int count = store.DbListMacroEvents(kReplacedMacro, events);
    std::vector<KeyLight> colours;
    const int coloured = store.DbListKeyLights(kUserKeyLightId, colours);
    KeyAssignment key;
    const bool assigned = store.DbGetKeyAssignment(1, 0, 0x04, key);
    if (stored) {
      ASSERT_EQ(count, kEvents) << "after life " << life;
      ASSERT_EQ(coloured, kKeys) << "after life " << life;
      ASSERT_TRUE(assigned) << "after life " << life;
    }
    ASSERT_TRUE(count == 0 || count == kEvents) << count;
    ASSERT_TRUE(coloured == 0 || coloured == kKeys) << coloured;
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(events[i].record_index, i);
      ASSERT_EQ(events[i].value, events[0].value);
    }
    for (const KeyLight& light : colours) {
      ASSERT_EQ(light.key_rgb, colours[0].key_rgb);
    }
    stored = stored || (count == kEvents && coloured == kKeys && assigned);
    for (const auto& group : Rows(store, "SELECT value, count(*) FROM t_macrorecord WHERE macro_id = 2 "
                                         "GROUP BY value")) {
      ASSERT_EQ(group[1], std::to_string(kEvents)) << "appended batch " << group[0];
    }
  }
  EXPECT_EQ(killedMidWork, 50);
  EXPECT_TRUE(stored) << "no writer ever got a batch in before it was killed";
}

}  // namespace

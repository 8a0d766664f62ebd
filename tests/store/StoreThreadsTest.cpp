// The store shared by the UI thread and the worker, and a file shared by two
// connections.  Run under ThreadSanitizer by `make tsan` (label "threads").
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "StoreTestSupport.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kAssignedKeys = 180;
constexpr int kColouredKeys = 87;

std::vector<KeyLight> Colours(int rgb) {
  std::vector<KeyLight> list;
  for (int key = 0; key < kColouredKeys; ++key) {
    list.push_back({0, 1, kUserKeyLightId, 4 + key, rgb});
  }
  return list;
}

TEST(StoreThreads, UiAndWorkerSeeOnlyWholeOperations) {
  TempFolder folder;
  SettingsStore store;
  ASSERT_TRUE(store.Open(folder.Wide(), kKeyboard));
  for (int key = 1; key <= kAssignedKeys; ++key) {
    ASSERT_GT(store.DbSaveKeyAssignment({0, 1, 0, key, 0, L"", 1, 1, 0, 0, L""}), 0);
  }
  for (int mode = 1; mode <= 3; ++mode) {
    ASSERT_GT(store.DbAddLight({0, 1, L"", mode, 0, 0, 0, 1, 0, 255, 0, 0, 0}), 0);
  }
  std::vector<KeyLight> first = Colours(0);
  ASSERT_EQ(store.DbReplaceKeyLights(first), kColouredKeys);

  constexpr int kRounds = 150;
  std::atomic<int> torn{0};
  std::atomic<int> failed{0};

  // The worker: writes the per-key colours and reads the key map, as the
  // key-assignment and key-light tasks do.
  std::thread worker([&] {
    for (int round = 1; round <= kRounds; ++round) {
      std::vector<KeyLight> colours = Colours(round);
      if (store.DbReplaceKeyLights(colours) != kColouredKeys) {
        ++failed;
      }
      std::vector<KeyAssignment> map;
      if (store.DbListKeyAssignments(1, 0, map) != kAssignedKeys) {
        ++torn;
      }
    }
  });
  // The UI thread: re-assigns keys and switches light modes, and reads the
  // colours the worker writes.
  for (int round = 1; round <= kRounds; ++round) {
    const int key = 1 + round % kAssignedKeys;
    if (store.DbSaveKeyAssignment({0, 1, 0, key, 0, L"", 1, round, 0, 0, L""}) == 0) {
      ++failed;
    }
    if (!store.DbSetCurrentLight(1, 1 + round % 3)) {
      ++failed;
    }
    std::vector<KeyLight> colours;
    if (store.DbListKeyLights(kUserKeyLightId, colours) != kColouredKeys) {
      ++torn;
    } else {
      for (const KeyLight& light : colours) {
        if (light.key_rgb != colours.front().key_rgb) {
          ++torn;
          break;
        }
      }
    }
  }
  worker.join();

  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(failed.load(), 0);
  EXPECT_EQ(Scalar(store, "SELECT count(*) FROM t_light_data WHERE status = 1"), "1");
  EXPECT_EQ(Scalar(store, "SELECT count(*) FROM t_key_macro_data"), std::to_string(kAssignedKeys));
  std::vector<KeyLight> last;
  ASSERT_EQ(store.DbListKeyLights(kUserKeyLightId, last), kColouredKeys);
  EXPECT_EQ(last.front().key_rgb, kRounds);
}

TEST(StoreThreads, SecondConnectionWaitsForTheWriterInsteadOfFailing) {
  TempFolder folder;
  SettingsStore first;
  SettingsStore second;
  ASSERT_TRUE(first.Open(folder.Wide(), kKeyboard));
  ASSERT_TRUE(second.Open(folder.Wide(), kKeyboard));

  std::atomic<bool> writing{false};
  std::thread writer([&] {
    SQLiteAutoTransaction transaction(&first);
    first.DbAddProfile({0, L"First", L"", 0, 0});
    writing = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  });
  while (!writing) {
    std::this_thread::yield();
  }
  EXPECT_GT(second.DbAddProfile({0, L"Second", L"", 0, 0}), 0);
  writer.join();

  std::vector<Profile> profiles;
  ASSERT_EQ(second.DbListProfiles(profiles), 2);
  EXPECT_EQ(profiles[0].name, L"First");
  EXPECT_EQ(profiles[1].name, L"Second");
}

}  // namespace

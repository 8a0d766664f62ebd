// Settings store throughput on a real file: the per-key colour replacement
// (10,000 rows in one batch; goal: under 50 ms) and reading a profile's key
// map of 180 assignments 1,000 times, as the worker does on every write.
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/TextConvert.h"
#include "store/SettingsStore.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBatchRows = 10000;
constexpr int kBatchRuns = 15;
constexpr double kBatchGoalMs = 50.0;
constexpr int kAssignments = 180;
constexpr int kListRuns = 1000;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

int main() {
  char pattern[] = "/tmp/kestrel-bench-store.XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string folder = std::string(made) + "/";
  ::mkdir((folder + "db").c_str(), 0700);
  int status = 0;
  {
    SettingsStore store;
    if (!store.Open(platform::FromUtf8(folder), L"Bench")) {
      std::fprintf(stderr, "cannot open the bench database\n");
      return 1;
    }

    std::vector<double> batch;
    for (int run = 0; run < kBatchRuns; ++run) {
      std::vector<KeyLight> rows;
      rows.reserve(kBatchRows);
      for (int i = 0; i < kBatchRows; ++i) {
        rows.push_back({0, 1, kUserKeyLightId, 4 + i, run * 0x010101});
      }
      const auto start = Clock::now();
      if (store.DbReplaceKeyLights(rows) != kBatchRows) {
        std::fprintf(stderr, "the batch was not stored\n");
        status = 1;
      }
      batch.push_back(Milliseconds(Clock::now() - start));
    }
    std::sort(batch.begin(), batch.end());
    const double median = batch[batch.size() / 2];
    std::printf("replace %d per-key colours in one batch: median %.2f ms (min %.2f, max %.2f) over %d runs, "
                "%.0f rows/s\n",
                kBatchRows, median, batch.front(), batch.back(), kBatchRuns, kBatchRows / (median / 1000.0));
    std::printf("  goal %.0f ms: ratio %.2f (below 1.00 meets the goal)\n", kBatchGoalMs, median / kBatchGoalMs);

    for (int key = 1; key <= kAssignments; ++key) {
      store.DbSaveKeyAssignment({0, 1, 0, key, 0, L"Key", 1, key, 0, 0, L"Assigned key"});
    }
    std::size_t read = 0;
    const auto start = Clock::now();
    for (int run = 0; run < kListRuns; ++run) {
      std::vector<KeyAssignment> list;
      read += static_cast<std::size_t>(store.DbListKeyAssignments(1, 0, list));
    }
    const double total = Milliseconds(Clock::now() - start);
    if (read != static_cast<std::size_t>(kAssignments) * kListRuns) {
      std::fprintf(stderr, "the lists came back short\n");
      status = 1;
    }
    std::printf("%d x DbListKeyAssignments of %d rows: %.1f ms, %.3f ms per list, %.0f rows/s\n", kListRuns,
                kAssignments, total, total / kListRuns, static_cast<double>(read) / (total / 1000.0));
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return status;
}

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"

namespace {

class AutoTransaction : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_store.Open(m_folder.Wide(), kKeyboard)); }

  // What another connection sees: only committed rows.
  std::string ProfilesSeenElsewhere() {
    SettingsStore other;
    if (!other.Open(m_folder.Wide(), kKeyboard)) {
      return "cannot open";
    }
    return Scalar(other, "SELECT count(*) FROM t_profile_data");
  }

  TempFolder m_folder;
  SettingsStore m_store;
};

TEST_F(AutoTransaction, CommitsWhenItLeavesItsScope) {
  {
    SQLiteAutoTransaction transaction(&m_store);
    EXPECT_TRUE(transaction.Active());
    EXPECT_FALSE(transaction.Begin());  // already active
    m_store.DbAddProfile({0, L"A", L"", 0, 0});
    m_store.DbAddProfile({0, L"B", L"", 0, 0});
  }
  EXPECT_EQ(ProfilesSeenElsewhere(), "2");
}

TEST_F(AutoTransaction, RollsBackWhenAStatementInsideFailed) {
  {
    SQLiteAutoTransaction transaction(&m_store);
    m_store.DbAddProfile({0, L"A", L"", 0, 0});
    EXPECT_NE(m_store.Exec("INSERT INTO t_nowhere VALUES (1)"), 0);
    EXPECT_TRUE(transaction.Failed());
    m_store.DbAddProfile({0, L"B", L"", 0, 0});
  }
  EXPECT_EQ(ProfilesSeenElsewhere(), "0");
  // The next transaction starts clean.
  SQLiteAutoTransaction next(&m_store);
  m_store.DbAddProfile({0, L"C", L"", 0, 0});
  EXPECT_TRUE(next.End());
  EXPECT_EQ(ProfilesSeenElsewhere(), "1");
}

TEST_F(AutoTransaction, FailureOfAnInnerOperationRollsBackTheOuterOne) {
  ASSERT_EQ(m_store.Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
            0);
  SQLiteAutoTransaction outer(&m_store);
  m_store.DbAddProfile({0, L"A", L"", 0, 0});
  EXPECT_EQ(m_store.DbSaveKeyAssignment({0, 1, 0, 4, 0, L"", 1, 5, 0, 0, L""}), 0);
  EXPECT_FALSE(outer.End());
  EXPECT_EQ(ProfilesSeenElsewhere(), "0");
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_profile_data"), "0");
}

TEST_F(AutoTransaction, FailMakesEndRollBack) {
  SQLiteAutoTransaction transaction(&m_store);
  m_store.DbAddProfile({0, L"A", L"", 0, 0});
  transaction.Fail();
  EXPECT_FALSE(transaction.End());
  EXPECT_FALSE(transaction.Active());
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_profile_data"), "0");
}

TEST(AutoTransactionWithoutConnection, BeginMarksActiveAndFails) {
  SettingsStore closed;
  SQLiteAutoTransaction transaction(&closed);
  EXPECT_FALSE(transaction.Active());
  EXPECT_FALSE(transaction.Begin());
  EXPECT_TRUE(transaction.Active());
  EXPECT_FALSE(transaction.Begin());
  EXPECT_FALSE(transaction.End());
  EXPECT_FALSE(transaction.Active());

  SQLiteAutoTransaction none(nullptr);
  EXPECT_FALSE(none.Begin());
  EXPECT_FALSE(none.Active());
}

TEST_F(AutoTransaction, FullDiskRollsBackTheBatchAndIsReportedOnce) {
  std::vector<KeyLight> first;
  for (int key = 0; key < 10; ++key) {
    first.push_back({0, 1, kUserKeyLightId, 4 + key, 0xFF});
  }
  ASSERT_EQ(m_store.DbReplaceKeyLights(first), 10);
  // A database that may not grow stands in for a full disk.
  const std::string pages = Scalar(m_store, "PRAGMA page_count");
  ASSERT_EQ(m_store.Exec(("PRAGMA max_page_count = " + pages).c_str()), 0);

  testing::internal::CaptureStderr();
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<KeyLight> big;
    for (int key = 0; key < 5000; ++key) {
      big.push_back({0, 1, kUserKeyLightId, key, 0x00FF00});
    }
    EXPECT_EQ(m_store.DbReplaceKeyLights(big), 0);
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(m_folder.DatabaseFile()), std::string::npos) << said;
  EXPECT_NE(said.find("full"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;

  std::vector<KeyLight> kept;
  ASSERT_EQ(m_store.DbListKeyLights(kUserKeyLightId, kept), 10);
  EXPECT_EQ(kept[0].key_rgb, 0xFF);
}

}  // namespace

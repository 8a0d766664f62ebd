#include "store/ProfileRules.h"

#include "StoreFixture.h"

namespace {

class ProfileRulesTest : public StoreTest {
 protected:
  ProfileRules Rules(int language = 1033) {
    return ProfileRules(m_store, {language, language == 1033 ? L"Profile" : L"Profil"}, {L"bad"});
  }
};

TEST_F(ProfileRulesTest, FreshStoreGetsThreeProfilesAndDefaultSettings) {
  auto rules = Rules();
  const auto profiles = rules.LoadProfiles();
  ASSERT_EQ(profiles.size(), 3u);
  EXPECT_EQ(profiles[0].name, L"Profile 1");
  EXPECT_EQ(profiles[2].name, L"Profile 3");
  EXPECT_EQ(rules.CurrentProfile(), profiles[0].profile);
  SQLiteStatement count;
  ASSERT_EQ(m_store.Prepare(count, "SELECT count(*) FROM t_configdata"), 0);
  ASSERT_EQ(count.Step(), 100);
  EXPECT_EQ(count.ColumnInt(0), 11);
  EXPECT_EQ(rules.LoadProfiles().size(), 3u) << "a second load creates nothing";
}

TEST_F(ProfileRulesTest, AddUsesTheFirstFreeShownNameAndStopsAt200) {
  auto rules = Rules(1055);
  rules.LoadProfiles();  // Profil 1..3
  auto added = rules.AddProfile();
  ASSERT_TRUE(added.Ok());
  std::wstring name;
  ASSERT_TRUE(m_store.DbGetProfileName(added.id, name));
  EXPECT_EQ(name, L"Profil 4");
  EXPECT_EQ(rules.AddProfile(L"bad name").textId, 330);
  while (rules.LoadProfiles().size() < 200) ASSERT_TRUE(rules.AddProfile().Ok());
  const auto refused = rules.AddProfile();
  EXPECT_EQ(refused.outcome, RuleOutcome::Refused);
  EXPECT_EQ(refused.textId, 295);
  EXPECT_EQ(refused.titleId, 65);
}

TEST_F(ProfileRulesTest, RenameRefusesEmptyAndBlockedNamesAndKeepsTheOld) {
  auto rules = Rules();
  const int id = rules.LoadProfiles()[1].profile;
  for (const std::wstring bad : {L"", L"So BAD"}) {
    const auto r = rules.RenameProfile(id, bad);
    EXPECT_EQ(r.outcome, RuleOutcome::Refused);
    EXPECT_EQ(r.textId, 330);
    EXPECT_EQ(r.titleId, 33);
  }
  std::wstring name;
  ASSERT_TRUE(m_store.DbGetProfileName(id, name));
  EXPECT_EQ(name, L"Profile 2");
  EXPECT_TRUE(rules.RenameProfile(id, L"Games").Ok());
  EXPECT_EQ(rules.RenameProfile(999, L"Games").outcome, RuleOutcome::NotFound);
}

TEST_F(ProfileRulesTest, DeleteKeepsTheLastProfileAndMovesCurrent) {
  auto rules = Rules();
  const auto profiles = rules.LoadProfiles();
  ASSERT_TRUE(rules.DeleteProfile(profiles[0].profile).Ok());
  EXPECT_EQ(rules.CurrentProfile(), profiles[1].profile);
  ASSERT_TRUE(rules.DeleteProfile(profiles[2].profile).Ok());
  EXPECT_EQ(rules.DeleteProfile(profiles[1].profile).outcome, RuleOutcome::Refused);
  EXPECT_EQ(rules.LoadProfiles().size(), 1u);
  EXPECT_EQ(rules.SelectProfile(profiles[0].profile).outcome, RuleOutcome::NotFound);
}

}  // namespace

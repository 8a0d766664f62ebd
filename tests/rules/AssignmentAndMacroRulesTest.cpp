#include "macros/MacroRules.h"
#include "store/KeyAssignmentRules.h"

#include "StoreFixture.h"

namespace {

class AssignmentRulesTest : public StoreTest {
 protected:
  int MacroWithEvents(std::vector<int> types) {
    const int id = m_store.DbAddMacro(L"m");
    std::vector<MacroEvent> events;
    for (size_t i = 0; i < types.size(); ++i) {
      MacroEvent e;
      e.macro_id = id;
      e.type = types[i];
      e.record_index = static_cast<int>(i);
      e.value = 'A';
      events.push_back(e);
    }
    if (!events.empty()) {
      EXPECT_TRUE(m_store.DbAddMacroEvents(events));
    }
    return id;
  }

  KeyAssignmentRules m_keys{m_store};
};

TEST_F(AssignmentRulesTest, FunctionTypesAndTheirLimit) {
  EXPECT_TRUE(m_keys.AssignFunction(1, 4, 499, 0, 0, L"x").Ok());
  EXPECT_TRUE(m_keys.AssignFunction(1, 5, 500, 0, 0, L"y").Ok());
  KeyAssignment a;
  ASSERT_TRUE(m_store.DbGetKeyAssignment(1, 0, 4, a));
  EXPECT_EQ(a.macro_type, 2);
  ASSERT_TRUE(m_store.DbGetKeyAssignment(1, 0, 5, a));
  EXPECT_EQ(a.macro_type, 12);
  for (int key = 6; key < 16; ++key) ASSERT_TRUE(m_keys.AssignFunction(1, key, 30, 0, 0, L"").Ok());
  const auto refused = m_keys.AssignFunction(1, 20, 30, 0, 0, L"");
  EXPECT_EQ(refused.textId, 367);
  EXPECT_EQ(refused.titleId, 368);
  // The macro-or-shortcut limit is counted on its own.
  EXPECT_TRUE(m_keys.AssignShortcut(1, 20, 3, L"").Ok());
  EXPECT_TRUE(m_keys.AssignFunction(2, 20, 30, 0, 0, L"").Ok()) << "limits are per profile";
}

TEST_F(AssignmentRulesTest, MacroAndShortcutLimitAndEmptyMacros) {
  const int full = MacroWithEvents({2, 3});
  EXPECT_EQ(m_keys.AssignMacro(1, 4, MacroWithEvents({}), L"").textId, 293);
  EXPECT_EQ(m_keys.AssignMacro(1, 4, MacroWithEvents({1, 1}), L"").textId, 293);
  EXPECT_EQ(m_keys.AssignMacro(1, 4, 9999, L"").outcome, RuleOutcome::NotFound);
  for (int key = 4; key < 10; ++key) ASSERT_TRUE(m_keys.AssignMacro(1, key, full, L"m").Ok());
  for (int key = 10; key < 16; ++key) ASSERT_TRUE(m_keys.AssignShortcut(1, key, 1, L"s").Ok());
  EXPECT_EQ(m_keys.AssignShortcut(1, 20, 1, L"").textId, 363);
  EXPECT_EQ(m_keys.AssignMacro(1, 20, full, L"").titleId, 364);
  EXPECT_EQ(m_keys.AssignShortcut(2, 20, 16, L"").outcome, RuleOutcome::NotFound);
}

TEST_F(AssignmentRulesTest, FnKeyIsNeverAssignableAndRestoreRemovesTheRow) {
  for (const auto& r : {m_keys.AssignFunction(1, kFnKeyCode, 30, 0, 0, L""), m_keys.DisableKey(1, kFnKeyCode, L""),
                        m_keys.RestoreKey(1, 0)}) {
    EXPECT_EQ(r.textId, 365);
    EXPECT_EQ(r.titleId, 366);
  }
  ASSERT_TRUE(m_keys.DisableKey(1, 4, L"Disabled").Ok());
  KeyAssignment a;
  ASSERT_TRUE(m_store.DbGetKeyAssignment(1, 0, 4, a));
  EXPECT_EQ(a.macro_type, 1);
  EXPECT_EQ(a.macro_value, 1);
  EXPECT_TRUE(m_keys.RestoreKey(1, 4).Ok());
  EXPECT_FALSE(m_store.DbGetKeyAssignment(1, 0, 4, a));
  EXPECT_TRUE(m_keys.RestoreKey(1, 4).Ok()) << "restoring an unassigned key is fine";
}

TEST_F(AssignmentRulesTest, MacroNamesCopiesAndPlayback) {
  MacroRules macros(m_store, {1033, L"Macro"}, {L"bad"});
  const auto first = macros.AddMacro();
  ASSERT_TRUE(first.Ok());
  EXPECT_TRUE(macros.AddMacro().Ok());
  auto list = macros.LoadMacros();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].name, L"Macro 2");

  ASSERT_TRUE(macros.RenameMacro(first.id, L"Makro 2").Ok());
  EXPECT_EQ(macros.RenameMacro(first.id, L"BAD").textId, 621);
  EXPECT_EQ(macros.RenameMacro(first.id, L"").textId, 330);
  std::vector<MacroEvent> events(3);
  events[0].type = 2, events[1].type = 3, events[2].type = 2;
  events[2].delay_time = 50000;
  ASSERT_TRUE(macros.SaveEvents(first.id, events, 101).Ok());
  ASSERT_TRUE(m_keys.AssignMacro(1, 4, first.id, L"Makro 2").Ok());

  const auto copy = macros.CopyMacro(first.id);
  ASSERT_TRUE(copy.Ok());
  Macro copied;
  ASSERT_TRUE(m_store.DbGetMacro(copy.id, copied));
  EXPECT_EQ(copied.name, L"Makro 2 - 1");
  std::vector<MacroEvent> copiedEvents;
  ASSERT_EQ(m_store.DbListMacroEvents(copy.id, copiedEvents), 3);
  EXPECT_EQ(copiedEvents[2].delay_time, 31000);

  for (const auto& [times, stored] : std::vector<std::pair<int, int>>{{0, 1}, {150, 99}, {7, 7}}) {
    ASSERT_TRUE(macros.SetPlayback(first.id, times, DelayType::Fixed, 25).Ok());
    Macro m;
    ASSERT_TRUE(m_store.DbGetMacro(first.id, m));
    EXPECT_EQ(m.play_times, stored);
    EXPECT_EQ(m.delay_time, 25);
  }

  ASSERT_TRUE(macros.DeleteMacro(first.id).Ok());
  KeyAssignment a;
  EXPECT_FALSE(m_store.DbGetKeyAssignment(1, 0, 4, a)) << "keys playing a deleted macro are restored";
  EXPECT_EQ(macros.DeleteMacro(first.id).outcome, RuleOutcome::NotFound);
}

TEST(MacroLimits, EventLimitDependsOnTheProtocolFamily) {
  EXPECT_EQ(MaxMacroEvents(101), 80);
  EXPECT_EQ(MaxMacroEvents(250), 80);
  EXPECT_EQ(MaxMacroEvents(301), 60);
  EXPECT_EQ(ClampPlayTimes(-4), 1);
}

}  // namespace

// The key function list's table: the picker draws it and the command line
// looks functions up in it, so a typo in a code or a rectangle shows in both.
#include <gtest/gtest.h>

#include <set>

#include "model/KeyFunctionCatalog.h"

namespace {

TEST(KeyFunctionCatalogTest, EntriesFitThePickerWithoutOverlapping) {
  const auto& entries = KeyFunctionCatalog();
  ASSERT_EQ(entries.size(), 122u);
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& a = entries[i];
    EXPECT_TRUE(a.left < a.right && a.top < a.bottom && a.left >= 0 && a.right <= 903 && a.bottom <= 236)
        << "entry " << i << " code " << a.code;
    for (size_t j = i + 1; j < entries.size(); ++j) {
      const auto& b = entries[j];
      const bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
      EXPECT_FALSE(overlap) << "codes " << a.code << " and " << b.code;
    }
  }
}

TEST(KeyFunctionCatalogTest, IconEntriesAreDescribedAndNamedOnce) {
  std::set<std::wstring> names;
  std::set<int> codes;
  int icons = 0;
  for (const auto& entry : KeyFunctionCatalog()) {
    if (entry.icon.empty()) {
      EXPECT_FALSE(entry.label.empty()) << entry.code;
      continue;
    }
    ++icons;
    EXPECT_TRUE(entry.label.empty()) << entry.code;
    EXPECT_NE(entry.descriptionTextId, 0) << entry.code;
    EXPECT_TRUE(names.insert(entry.commandName).second) << entry.code;
    EXPECT_TRUE(codes.insert(entry.code).second) << entry.code;
    EXPECT_TRUE(entry.code >= kFirstDescribedFunctionCode || (entry.code >= 120 && entry.code <= 129)) << entry.code;
  }
  EXPECT_EQ(icons, 18);
}

TEST(KeyFunctionCatalogTest, SharedLabelsAreFoundByCode) {
  const struct {
    int code;
    const wchar_t* label;
  } cases[] = {{225, L"Shift"}, {229, L"Shift"}, {40, L"Enter"}, {88, L"Enter"}, {30, L"1"}, {89, L"1"},
               {4, L"A"},       {41, L"Esc"},   {58, L"F1"},    {224, L"Ctrl"}};
  for (const auto& c : cases) {
    const KeyFunctionEntry* entry = FindKeyFunction(c.code);
    ASSERT_NE(entry, nullptr) << c.code;
    EXPECT_EQ(entry->label, c.label) << c.code;
  }
  EXPECT_EQ(FindKeyFunction(0), nullptr);
  EXPECT_EQ(FindKeyFunction(0xAF), nullptr) << "the Fn key is not in the list";
}

}  // namespace

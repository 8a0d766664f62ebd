#include "toolkit/core/Manager.h"

#include <gtest/gtest.h>

namespace {

// The defaults are what every window sees when the application sets
// nothing; this test runs before the one below changes them.
TEST(Manager, DefaultsBeforeAnythingIsSet) {
  EXPECT_EQ(Manager::GetDeviceName(), L"Kestrel");
  EXPECT_EQ(Manager::GetFontName(), L"SourceHanSansCN-Regular");
  EXPECT_EQ(Manager::GetFontWidth(), 14);
  EXPECT_EQ(Manager::GetSelectColor(), 0xFF10A8FDu);
  EXPECT_EQ(Manager::GetInstance(), nullptr);
  EXPECT_EQ(Manager::GetTheme(), L"theme1/");
}

TEST(Manager, SettingsChangeOnlyWhatTheySet) {
  const int marker = 0;
  Manager::SetInstance(&marker);
  Manager::SetDeviceName(L"X");
  Manager::SetFont(L"Open Sans", 12);
  EXPECT_EQ(Manager::GetInstance(), &marker);
  EXPECT_EQ(Manager::GetDeviceName(), L"X");
  EXPECT_EQ(Manager::GetFontName(), L"Open Sans");
  EXPECT_EQ(Manager::GetFontWidth(), 12);
  Manager::SetFontName(L"Noto Sans CJK SC");
  EXPECT_EQ(Manager::GetFontName(), L"Noto Sans CJK SC");
  EXPECT_EQ(Manager::GetFontWidth(), 12);
  EXPECT_EQ(Manager::GetTheme(), L"theme1/");
  EXPECT_EQ(Manager::GetSelectColor(), 0xFF10A8FDu);
  Manager::SetDeviceName(L"Kestrel");
  Manager::SetFont(L"SourceHanSansCN-Regular", 14);
  Manager::SetInstance(nullptr);
}

}  // namespace

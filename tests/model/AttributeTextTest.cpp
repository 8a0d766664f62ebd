#include "model/AttributeText.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseDecimal, ReadsLeadingNumberAndZeroOtherwise) {
  const struct {
    const wchar_t* text;
    int value;
  } cases[] = {
      {L"17", 17},  {L"  42", 42},         {L"-3", -3},          {L"+8", 8},          {L"12abc", 12},
      {L"", 0},     {L"abc", 0},           {L"-", 0},            {L"0x10", 0},        {L"2147483647", 2147483647},
      {L"-2147483648", -2147483647 - 1},   {L"2147483648", 0},   {L"99999999999999999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << "text '" << c.text << "'";
}

TEST(ParseHexadecimal, AcceptsEitherCaseAndAnOptionalPrefix) {
  const struct {
    const wchar_t* text;
    std::uint32_t value;
  } cases[] = {
      {L"E0", 0xE0},         {L"0xE0", 0xE0}, {L"0XE0", 0xE0},         {L"e0", 0xE0},   {L"0x4b01", 0x4B01},
      {L"4660", 0x4660},     {L"1209", 0x1209}, {L"", 0},               {L"zz", 0},      {L"0x", 0},
      {L"FFFFFFFF", 0xFFFFFFFF}, {L"100000000", 0}, {L"-1", 0},          {L" af", 0xAF},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHexadecimal(c.text), c.value) << "text '" << c.text << "'";
}

TEST(ParseFlag, OnlyOneIsYes) {
  EXPECT_TRUE(ParseFlag(L"1"));
  for (const wchar_t* text : {L"0", L"2", L"", L"yes", L"true", L"-1"}) EXPECT_FALSE(ParseFlag(text)) << text;
}

TEST(ParseKeyRect, ReadsPositionAndSize) {
  EXPECT_EQ(ParseKeyRect(L"10#20#30#40"), (KeyRect{10, 20, 40, 60}));
  EXPECT_EQ(ParseKeyRect(L"10#20"), (KeyRect{10, 20, 10, 20}));
  EXPECT_EQ(ParseKeyRect(L""), (KeyRect{0, 0, 0, 0}));
  EXPECT_EQ(ParseKeyRect(L"a#b#5#6"), (KeyRect{0, 0, 5, 6}));
  EXPECT_EQ(ParseKeyRect(L"1#2#3#4#99"), (KeyRect{1, 2, 4, 6}));
  // A width that would run past the largest int stops there.
  EXPECT_EQ(ParseKeyRect(L"2147483000#0#2147483000#1"), (KeyRect{2147483000, 0, 2147483647, 1}));
}

TEST(ParseRowCol, FirstCharacterIsTheRowAndTheTailTheColumn) {
  const struct {
    const wchar_t* text;
    int row;
    int column;
  } cases[] = {
      {L"2,5", 2, 5}, {L"2,15", 2, 15}, {L"2-15", 2, 15}, {L"0,0", 0, 0}, {L"5,17", 5, 17},
      {L"9,40", 9, 40}, {L"x,5", 0, 5}, {L"3,ab", 3, 0},
  };
  for (const auto& c : cases) {
    const auto position = ParseRowCol(c.text);
    ASSERT_TRUE(position.has_value()) << "text '" << c.text << "'";
    EXPECT_EQ(*position, (GridPosition{c.row, c.column})) << "text '" << c.text << "'";
  }
  EXPECT_FALSE(ParseRowCol(L"").has_value());
}

}  // namespace

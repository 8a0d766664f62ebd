#include "model/KeyCodes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Conversion {
  int virtual_key;
  int key_code;
};

TEST(KeyCodeFromVirtualKey, FollowsTheConversionTable) {
  const Conversion cases[] = {
      {65, 4},    {90, 29},   {49, 30},   {57, 38},   {48, 39},   {13, 40},   {27, 41},   {8, 42},
      {9, 43},    {32, 44},   {189, 45},  {187, 46},  {219, 47},  {221, 48},  {220, 49},  {666, 50},
      {186, 51},  {222, 52},  {192, 53},  {188, 54},  {190, 55},  {191, 56},  {20, 57},   {112, 58},
      {123, 69},  {124, 104}, {135, 115}, {44, 70},   {145, 71},  {19, 72},   {45, 73},   {36, 74},
      {33, 75},   {46, 76},   {35, 77},   {34, 78},   {39, 79},   {37, 80},   {40, 81},   {38, 82},
      {144, 83},  {111, 84},  {106, 85},  {109, 86},  {107, 87},  {108, 88},  {97, 89},   {105, 97},
      {96, 98},   {110, 99},  {162, 224}, {160, 225}, {164, 226}, {91, 227},  {163, 228}, {161, 229},
      {165, 230}, {92, 231},  {93, 101},  {254, 175}, {226, 100}, {136, 136}, {139, 139}, {173, 235},
      {174, 233}, {175, 234}, {176, 239}, {177, 237}, {178, 236}, {179, 238}, {181, 232}, {180, 240},
      {172, 241}, {183, 242}, {166, 243}, {167, 244}, {169, 245}, {168, 246}, {170, 247}, {171, 248},
      {182, 249},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyCodeFromVirtualKey(c.virtual_key), c.key_code) << "virtual key " << c.virtual_key;
  }
}

TEST(KeyCodeFromVirtualKey, UnmappedKeysAndSideLessModifiersGiveNoKey) {
  for (int virtualKey : {16, 17, 18, 0, 1, 12, 47, 58, 64, 140, 255, 665, 667, -1, 100000}) {
    EXPECT_EQ(KeyCodeFromVirtualKey(virtualKey), 0) << "virtual key " << virtualKey;
  }
}

TEST(KeyCodeFromVirtualKey, NoTwoVirtualKeysShareACode) {
  std::set<int> seen;
  for (int virtualKey = 0; virtualKey < 700; ++virtualKey) {
    const int code = KeyCodeFromVirtualKey(virtualKey);
    if (code == 0) continue;
    EXPECT_TRUE(seen.insert(code).second) << "code " << code << " again from " << virtualKey;
  }
}

struct LabelCase {
  int key_code;
  const wchar_t* label;
};

TEST(KeyCodeLabel, FollowsTheLabelTable) {
  const LabelCase cases[] = {
      {4, L"A"},        {29, L"Z"},       {30, L"1"},      {38, L"9"},     {39, L"0"},      {89, L"1"},
      {97, L"9"},       {98, L"0"},       {40, L"ENTER"},  {41, L"ESC"},   {42, L"backspace"}, {43, L"TAB"},
      {44, L"SPACE"},   {45, L"-_"},      {46, L"+="},     {47, L"[{"},    {48, L"]}"},     {49, L"\\"},
      {51, L";:"},      {52, L"'"},       {53, L"~`"},     {54, L"<,"},    {55, L">."},     {56, L"/?"},
      {57, L"CAPS"},    {58, L"F1"},      {69, L"F12"},    {70, L"PRTSC"}, {71, L"SCRLK"},  {72, L"PASE"},
      {73, L"INS"},     {74, L"HOME"},    {75, L"PG UP"},  {76, L"DEL"},   {77, L"END"},    {78, L"PG DN"},
      {79, L"RIGHT"},   {80, L"LEFT"},    {81, L"DOWN"},   {82, L"UP"},    {83, L"NumLock"}, {84, L"/"},
      {85, L"*"},       {86, L"-"},       {87, L"+"},      {88, L"Enter"}, {99, L"."},      {101, L"MENU"},
      {175, L"FN"},     {224, L"CTRL"},   {225, L"SHIFT"}, {226, L"ALT"},  {227, L"WIN"},   {228, L"RCTRL"},
      {229, L"RSHIFT"}, {230, L"RALT"},
      // Valid codes without a label.
      {231, L""},       {50, L""},        {100, L""},      {102, L""},     {104, L""},      {234, L""},
      {0, L""},         {3, L""},         {-5, L""},       {256, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyCodeLabel(c.key_code), c.label) << "key code " << c.key_code;
  }
}

}  // namespace

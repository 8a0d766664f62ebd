#include "model/KeyFunctionCatalog.h"

namespace {

struct IconEntry {
  int code;
  const wchar_t* icon;
  int textId;
  const wchar_t* commandName;
};

// The icon row: media and application functions, 43 pixels wide, 50 apart.
constexpr IconEntry kIconRow[] = {
    {236, L"icon//icon_pc.png", 252, L"my-computer"},
    {237, L"icon//icon_cal.png", 270, L"calculator"},
    {238, L"icon//icon_email.png", 271, L"email"},
    {232, L"icon//icon_multimedia.png", 272, L"media-player"},
    {233, L"icon//icon_playpause.png", 230, L"play-pause"},
    {120, L"icon//icon_stop.png", 231, L"stop"},
    {235, L"icon//icon_pre.png", 232, L"previous"},
    {234, L"icon//icon_next.png", 233, L"next"},
    {129, L"icon//icon_vol_down.png", 235, L"volume-down"},
    {128, L"icon//icon_vol_up.png", 234, L"volume-up"},
    {127, L"icon//icon_vol_mute.png", 236, L"mute"},
    {245, L"icon//icon_home.png", 273, L"web-home"},
    {243, L"icon//icon_web_refresh.png", 274, L"web-refresh"},
    {244, L"icon//icon_web_stop.png", 275, L"web-stop"},
    {239, L"icon//icon_web_backward.png", 276, L"web-back"},
    {240, L"icon//icon_web_foreward.png", 277, L"web-forward"},
    {242, L"icon//icon_favorites.png", 278, L"favorites"},
    {241, L"icon//icon_web_search.png", 279, L"web-search"},
};

struct KeyEntry {
  const wchar_t* label;
  int code;
  int left;
  int right;
  int bottom;  // 0: the row's bottom
};

struct KeyRow {
  int top;
  int bottom;
  std::vector<KeyEntry> keys;
};

const std::vector<KeyRow>& KeyRows() {
  static const std::vector<KeyRow> rows = {
      {38, 66, {{L"Esc", 41, 0, 36, 0},      {L"F1", 58, 78, 114, 0},   {L"F2", 59, 117, 153, 0},
                {L"F3", 60, 156, 192, 0},    {L"F4", 61, 195, 231, 0},  {L"F5", 62, 260, 296, 0},
                {L"F6", 63, 299, 335, 0},    {L"F7", 64, 338, 374, 0},  {L"F8", 65, 377, 413, 0},
                {L"F9", 66, 442, 478, 0},    {L"F10", 67, 481, 517, 0}, {L"F11", 68, 520, 556, 0},
                {L"F12", 69, 559, 595, 0},   {L"Print", 70, 616, 652, 0},
                {L"Scroll Lock", 71, 655, 691, 0}, {L"Pause", 72, 694, 730, 0}}},
      {76, 104, {{L"~", 53, 0, 36, 0},      {L"1", 30, 39, 75, 0},     {L"2", 31, 78, 114, 0},
                 {L"3", 32, 117, 153, 0},   {L"4", 33, 156, 192, 0},   {L"5", 34, 195, 231, 0},
                 {L"6", 35, 234, 270, 0},   {L"7", 36, 273, 309, 0},   {L"8", 37, 312, 348, 0},
                 {L"9", 38, 351, 387, 0},   {L"0", 39, 390, 426, 0},   {L"-", 45, 429, 465, 0},
                 {L"=", 46, 468, 504, 0},   {L"Back", 42, 507, 595, 0}, {L"Ins", 73, 616, 652, 0},
                 {L"Home", 74, 655, 691, 0}, {L"PgUp", 75, 694, 730, 0}, {L"NumLock", 83, 750, 786, 0},
                 {L"/", 84, 789, 825, 0},   {L"*", 85, 828, 864, 0},   {L"-", 86, 867, 903, 0}}},
      {109, 137, {{L"Tab", 43, 0, 75, 0},   {L"Q", 20, 78, 114, 0},    {L"W", 26, 117, 153, 0},
                  {L"E", 8, 156, 192, 0},   {L"R", 21, 195, 231, 0},   {L"T", 23, 234, 270, 0},
                  {L"Y", 28, 273, 309, 0},  {L"U", 24, 312, 348, 0},   {L"I", 12, 351, 387, 0},
                  {L"O", 18, 390, 426, 0},  {L"P", 19, 429, 465, 0},   {L"[", 47, 468, 503, 0},
                  {L"]", 48, 507, 542, 0},  {L"\\", 49, 546, 595, 0},  {L"Del", 76, 616, 652, 0},
                  {L"End", 77, 655, 691, 0}, {L"PgDn", 78, 694, 730, 0}, {L"7", 95, 750, 786, 0},
                  {L"8", 96, 789, 825, 0},  {L"9", 97, 828, 864, 0},   {L"+", 87, 867, 903, 170}}},
      {142, 170, {{L"Caps", 57, 0, 85, 0},  {L"A", 4, 88, 124, 0},     {L"S", 22, 127, 163, 0},
                  {L"D", 7, 166, 202, 0},   {L"F", 9, 205, 241, 0},    {L"G", 10, 244, 280, 0},
                  {L"H", 11, 283, 319, 0},  {L"J", 13, 322, 358, 0},   {L"K", 14, 361, 397, 0},
                  {L"L", 15, 400, 436, 0},  {L";", 51, 439, 475, 0},   {L"'", 52, 478, 514, 0},
                  {L"Enter", 40, 517, 595, 0}, {L"4", 92, 750, 786, 0}, {L"5", 93, 789, 825, 0},
                  {L"6", 94, 828, 864, 0}}},
      {175, 203, {{L"Shift", 225, 0, 101, 0}, {L"Z", 29, 104, 140, 0}, {L"X", 27, 143, 179, 0},
                  {L"C", 6, 182, 218, 0},   {L"V", 25, 221, 257, 0},   {L"B", 5, 260, 296, 0},
                  {L"N", 17, 299, 335, 0},  {L"M", 16, 338, 374, 0},   {L",<", 54, 377, 413, 0},
                  {L".>", 55, 416, 452, 0}, {L"/?", 56, 455, 491, 0},  {L"Shift", 229, 494, 595, 0},
                  {L"Up", 82, 655, 691, 0}, {L"1", 89, 750, 786, 0},   {L"2", 90, 789, 825, 0},
                  {L"3", 91, 828, 864, 0},  {L"Enter", 88, 867, 903, 236}}},
      {208, 236, {{L"Ctrl", 224, 0, 50, 0}, {L"Win", 227, 53, 103, 0}, {L"Alt", 226, 106, 156, 0},
                  {L"Space", 44, 159, 383, 0}, {L"Alt", 230, 386, 436, 0}, {L"Win", 231, 439, 489, 0},
                  {L"App", 101, 492, 542, 0}, {L"Ctrl", 228, 545, 595, 0}, {L"Left", 80, 616, 652, 0},
                  {L"Down", 81, 655, 691, 0}, {L"Right", 79, 694, 730, 0}, {L"0", 98, 750, 786, 0},
                  {L".", 99, 789, 864, 0}}},
  };
  return rows;
}

std::vector<KeyFunctionEntry> BuildCatalog() {
  std::vector<KeyFunctionEntry> entries;
  int n = 0;
  for (const auto& icon : kIconRow) {
    KeyFunctionEntry entry;
    entry.code = icon.code;
    entry.icon = icon.icon;
    entry.descriptionTextId = icon.textId;
    entry.commandName = icon.commandName;
    entry.left = 50 * n;
    entry.right = entry.left + 43;
    entry.top = 0;
    entry.bottom = 28;
    entries.push_back(entry);
    ++n;
  }
  for (const auto& row : KeyRows()) {
    for (const auto& key : row.keys) {
      KeyFunctionEntry entry;
      entry.code = key.code;
      entry.label = key.label;
      entry.left = key.left;
      entry.right = key.right;
      entry.top = row.top;
      entry.bottom = key.bottom != 0 ? key.bottom : row.bottom;
      entries.push_back(entry);
    }
  }
  return entries;
}

}  // namespace

const std::vector<KeyFunctionEntry>& KeyFunctionCatalog() {
  static const std::vector<KeyFunctionEntry> catalog = BuildCatalog();
  return catalog;
}

const KeyFunctionEntry* FindKeyFunction(int code) {
  for (const auto& entry : KeyFunctionCatalog()) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

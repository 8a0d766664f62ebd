#include "model/KeyboardLayout.h"

#include <algorithm>
#include <cstring>

namespace {

int SlotOrZero(const std::map<std::uint32_t, int>& slots, std::uint32_t code) {
  const auto found = slots.find(code);
  return found == slots.end() ? 0 : found->second;
}

}  // namespace

KeyboardLayout::KeyboardLayout() { Clear(); }

void KeyboardLayout::Clear() {
  m_keys.clear();
  m_keySlots.clear();
  m_lightSlots.clear();
  std::memset(m_grid, kEmptyCell, sizeof m_grid);
  m_gridRows = 0;
  m_gridColumns = 0;
  m_x = m_y = m_width = m_height = 0;
  m_image.clear();
}

void KeyboardLayout::SetPicture(int x, int y, int width, int height, const std::wstring& image) {
  m_x = x;
  m_y = y;
  m_width = width;
  m_height = height;
  m_image = image;
}

void KeyboardLayout::SetGridSize(int rows, int columns) {
  m_gridRows = std::clamp(rows, 0, kGridRowLimit);
  m_gridColumns = std::clamp(columns, 0, kGridColumnLimit);
}

void KeyboardLayout::AddKey(const KeyItem& key, const std::optional<GridPosition>& cell) {
  m_keys.push_back(key);

  // A later key of the same code replaces the earlier one, also when its own
  // slot is unusable: the map then has no slot for the code rather than a
  // stale one.
  if (key.key_index >= 0 && key.key_index < kKeySlotCount) {
    m_keySlots[key.code] = key.key_index;
  } else {
    m_keySlots.erase(key.code);
  }
  if (key.light_index >= 0 && key.light_index < kLightSlotCount) {
    m_lightSlots[key.code] = key.light_index;
  } else {
    m_lightSlots.erase(key.code);
  }

  // A cell holds one byte and 0xFF marks it empty, so only codes below 0xFF
  // can stand in the grid; anything else would name a different key.
  if (cell && key.code < kEmptyCell && cell->row >= 0 && cell->row < kGridRowLimit && cell->column >= 0 &&
      cell->column < kGridColumnLimit) {
    m_grid[cell->row][cell->column] = static_cast<std::uint8_t>(key.code);
  }
}

int KeyboardLayout::KeySlot(std::uint32_t code) const { return SlotOrZero(m_keySlots, code); }
int KeyboardLayout::LightSlot(std::uint32_t code) const { return SlotOrZero(m_lightSlots, code); }
bool KeyboardLayout::HasKeySlot(std::uint32_t code) const { return m_keySlots.count(code) != 0; }
bool KeyboardLayout::HasLightSlot(std::uint32_t code) const { return m_lightSlots.count(code) != 0; }

int KeyboardLayout::GridCell(int row, int column) const {
  if (row < 0 || row >= kGridRowLimit || column < 0 || column >= kGridColumnLimit) return kEmptyCell;
  return m_grid[row][column];
}

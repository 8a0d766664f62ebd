#pragma once
// The key geometry of the current keyboard: the key items in file order for
// the keyboard pictures, and the slot maps and lighting grid for the report
// builders.  Filled by LoadDeviceDescription; read by the UI thread and, once
// loaded, by the worker (it is replaced only while no task runs).
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct KeyRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const KeyRect&) const = default;
};

struct GridPosition {
  int row = 0;
  int column = 0;
  bool operator==(const GridPosition&) const = default;
};

// One `key` element as the keyboard controls receive it.
struct KeyItem {
  std::uint32_t code = 0;
  std::wstring name;
  std::wstring description;
  int key_index = 0;
  int light_index = 0;
  std::wstring icon;
  KeyRect rect;
};

class KeyboardLayout {
 public:
  static constexpr int kGridRowLimit = 8;
  static constexpr int kGridColumnLimit = 32;
  // The key assignment buffer holds 180 two-byte slots, the per-key colour
  // buffer 150 four-byte slots.
  static constexpr int kKeySlotCount = 180;
  static constexpr int kLightSlotCount = 150;
  static constexpr int kEmptyCell = 0xFF;

  KeyboardLayout();

  // Empties the keys, both maps, the grid (all cells empty) and the sizes.
  void Clear();

  // Area and picture of the `Keyboard` element.
  void SetPicture(int x, int y, int width, int height, const std::wstring& image);
  // Grid sizes beyond the 8 x 32 grid are cut to it, negative ones to 0.
  void SetGridSize(int rows, int columns);

  // Appends a key.  Its slots enter the maps (overwriting an earlier key of
  // the same code) only when they lie inside their buffers; its cell enters
  // the grid only when it lies inside the grid and the code fits a cell.
  void AddKey(const KeyItem& key, const std::optional<GridPosition>& cell);

  // Slot lookups: 0 when the code is not in the map.  The report builders
  // use HasKeySlot / HasLightSlot to skip such codes.
  int KeySlot(std::uint32_t code) const;
  int LightSlot(std::uint32_t code) const;
  bool HasKeySlot(std::uint32_t code) const;
  bool HasLightSlot(std::uint32_t code) const;
  const std::map<std::uint32_t, int>& KeySlots() const { return m_keySlots; }
  const std::map<std::uint32_t, int>& LightSlots() const { return m_lightSlots; }

  // Key code at (row, column), kEmptyCell for an empty cell and for any
  // position outside the grid.
  int GridCell(int row, int column) const;
  int GridRows() const { return m_gridRows; }
  int GridColumns() const { return m_gridColumns; }

  const std::vector<KeyItem>& Keys() const { return m_keys; }
  int X() const { return m_x; }
  int Y() const { return m_y; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  const std::wstring& Image() const { return m_image; }

 private:
  std::vector<KeyItem> m_keys;
  std::map<std::uint32_t, int> m_keySlots;
  std::map<std::uint32_t, int> m_lightSlots;
  std::uint8_t m_grid[kGridRowLimit][kGridColumnLimit];
  int m_gridRows = 0;
  int m_gridColumns = 0;
  int m_x = 0;
  int m_y = 0;
  int m_width = 0;
  int m_height = 0;
  std::wstring m_image;
};

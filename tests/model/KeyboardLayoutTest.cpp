#include "model/KeyboardLayout.h"

#include <gtest/gtest.h>

namespace {

KeyItem Key(std::uint32_t code, int keyIndex, int lightIndex) {
  KeyItem key;
  key.code = code;
  key.key_index = keyIndex;
  key.light_index = lightIndex;
  return key;
}

TEST(KeyboardLayout, StartsEmpty) {
  KeyboardLayout layout;
  EXPECT_EQ(layout.GridRows(), 0);
  EXPECT_EQ(layout.GridColumns(), 0);
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 32; ++column) EXPECT_EQ(layout.GridCell(row, column), 0xFF);
  }
  EXPECT_EQ(layout.KeySlot(0x04), 0);
  EXPECT_FALSE(layout.HasKeySlot(0x04));
}

TEST(KeyboardLayout, MapsSlotsFromBothIndices) {
  KeyboardLayout layout;
  layout.AddKey(Key(0x04, 12, 40), GridPosition{2, 5});
  EXPECT_EQ(layout.KeySlot(0x04), 12);
  EXPECT_EQ(layout.LightSlot(0x04), 40);
  EXPECT_EQ(layout.GridCell(2, 5), 0x04);
  EXPECT_EQ(layout.KeySlot(0x05), 0);
  EXPECT_EQ(layout.LightSlot(0x05), 0);
}

TEST(KeyboardLayout, LaterKeysOverwriteEarlierOnes) {
  KeyboardLayout layout;
  layout.AddKey(Key(0x04, 1, 2), GridPosition{1, 1});
  layout.AddKey(Key(0x05, 3, 4), GridPosition{1, 1});
  layout.AddKey(Key(0x04, 7, 8), GridPosition{2, 2});
  EXPECT_EQ(layout.GridCell(1, 1), 0x05);
  EXPECT_EQ(layout.GridCell(2, 2), 0x04);
  EXPECT_EQ(layout.KeySlot(0x04), 7);
  EXPECT_EQ(layout.LightSlot(0x04), 8);
  EXPECT_EQ(layout.Keys().size(), 3u);
}

TEST(KeyboardLayout, LeavesOutWhatLiesOutsideGridAndBuffers) {
  KeyboardLayout layout;
  layout.AddKey(Key(0x10, 179, 149), GridPosition{7, 31});
  layout.AddKey(Key(0x11, 180, 150), GridPosition{8, 0});
  layout.AddKey(Key(0x12, -1, -1), GridPosition{0, 32});
  layout.AddKey(Key(0x13, 5, 5), GridPosition{-1, 3});
  layout.AddKey(Key(0x1E0, 6, 6), GridPosition{0, 0});
  layout.AddKey(Key(0xFF, 7, 7), GridPosition{0, 1});
  layout.AddKey(Key(0x14, 8, 8), std::nullopt);

  EXPECT_EQ(layout.GridCell(7, 31), 0x10);
  EXPECT_EQ(layout.KeySlot(0x10), 179);
  EXPECT_EQ(layout.LightSlot(0x10), 149);
  EXPECT_FALSE(layout.HasKeySlot(0x11));
  EXPECT_FALSE(layout.HasLightSlot(0x11));
  EXPECT_FALSE(layout.HasKeySlot(0x12));
  EXPECT_EQ(layout.GridCell(0, 0), 0xFF) << "a code above one byte must not name another key";
  EXPECT_EQ(layout.GridCell(0, 1), 0xFF);
  EXPECT_EQ(layout.GridCell(8, 0), 0xFF);
  EXPECT_EQ(layout.GridCell(-1, 3), 0xFF);
  EXPECT_EQ(layout.GridCell(0, 32), 0xFF);
  // Every key is still drawn.
  EXPECT_EQ(layout.Keys().size(), 7u);
}

TEST(KeyboardLayout, ALaterKeyWithAnUnusableSlotRemovesTheStaleOne) {
  KeyboardLayout layout;
  layout.AddKey(Key(0x04, 10, 10), std::nullopt);
  layout.AddKey(Key(0x04, 500, 9), std::nullopt);
  EXPECT_FALSE(layout.HasKeySlot(0x04));
  EXPECT_EQ(layout.LightSlot(0x04), 9);
}

TEST(KeyboardLayout, GridSizeIsCutToTheGrid) {
  KeyboardLayout layout;
  layout.SetGridSize(6, 18);
  EXPECT_EQ(layout.GridRows(), 6);
  EXPECT_EQ(layout.GridColumns(), 18);
  layout.SetGridSize(9, 40);
  EXPECT_EQ(layout.GridRows(), 8);
  EXPECT_EQ(layout.GridColumns(), 32);
  layout.SetGridSize(-2, 0);
  EXPECT_EQ(layout.GridRows(), 0);
  EXPECT_EQ(layout.GridColumns(), 0);
}

TEST(KeyboardLayout, ClearEmptiesEverything) {
  KeyboardLayout layout;
  layout.SetPicture(1, 2, 3, 4, L"k.png");
  layout.SetGridSize(6, 18);
  layout.AddKey(Key(0x04, 1, 1), GridPosition{0, 0});
  layout.Clear();
  EXPECT_TRUE(layout.Keys().empty());
  EXPECT_FALSE(layout.HasKeySlot(0x04));
  EXPECT_EQ(layout.GridCell(0, 0), 0xFF);
  EXPECT_EQ(layout.GridRows(), 0);
  EXPECT_EQ(layout.Image(), L"");
}

}  // namespace

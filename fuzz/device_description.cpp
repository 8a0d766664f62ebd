// Feeds arbitrary bytes to the device description reader as a layout file:
// whatever the text, the reader must neither crash nor write outside the
// layout's grid and maps, and the records must stay consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/DeviceDescription.h"
#include "platform/TextConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = platform::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  DeviceFeatures features;
  KeyboardLayout layout;
  ReadDeviceDescriptionText(text, features, layout);

  if (layout.GridRows() < 0 || layout.GridRows() > KeyboardLayout::kGridRowLimit) std::abort();
  if (layout.GridColumns() < 0 || layout.GridColumns() > KeyboardLayout::kGridColumnLimit) std::abort();
  for (const auto& [code, slot] : layout.KeySlots()) {
    if (slot < 0 || slot >= KeyboardLayout::kKeySlotCount) std::abort();
  }
  for (const auto& [code, slot] : layout.LightSlots()) {
    if (slot < 0 || slot >= KeyboardLayout::kLightSlotCount) std::abort();
  }
  for (int row = 0; row < KeyboardLayout::kGridRowLimit; ++row) {
    for (int column = 0; column < KeyboardLayout::kGridColumnLimit; ++column) {
      const int cell = layout.GridCell(row, column);
      if (cell != KeyboardLayout::kEmptyCell && layout.KeySlots().count(static_cast<std::uint32_t>(cell)) == 0 &&
          layout.LightSlots().count(static_cast<std::uint32_t>(cell)) == 0) {
        // A cell may name a key whose slots were unusable; it must still be
        // one of the layout's keys.
        bool known = false;
        for (const KeyItem& key : layout.Keys()) known |= key.code == static_cast<std::uint32_t>(cell);
        if (!known) std::abort();
      }
    }
  }
  return 0;
}

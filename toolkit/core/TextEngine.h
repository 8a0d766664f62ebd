#pragma once
// The shared Pango state behind Canvas text and FontRegistry.  Pango's font
// map is not thread-safe, so every use holds TextMutex().
#include <pango/pangocairo.h>

#include <mutex>

namespace text_engine {
std::mutex& TextMutex();
// The font map, created on first use; call with TextMutex() held.
PangoFontMap* FontMap();
// Makes the next FontMap() see fonts added to fontconfig since; call with
// TextMutex() held.
void ReloadFonts();
}  // namespace text_engine

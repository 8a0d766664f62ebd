// Text on a Canvas through Pango.
#include <cmath>

#include "platform/TextConvert.h"
#include "toolkit/core/Canvas.h"
#include "toolkit/core/CanvasImpl.h"
#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/TextEngine.h"

namespace {

template <typename T>
struct GObjectHolder {
  T* object = nullptr;
  explicit GObjectHolder(T* o) : object(o) {}
  ~GObjectHolder() {
    if (object) g_object_unref(object);
  }
  GObjectHolder(const GObjectHolder&) = delete;
  GObjectHolder& operator=(const GObjectHolder&) = delete;
};

struct FontDescription {
  PangoFontDescription* desc;
  explicit FontDescription(const TextFont& font) : desc(pango_font_description_new()) {
    const std::wstring family = FontRegistry::Resolve(font.family.empty() ? FontRegistry::kEmbeddedFontFamily
                                                                          : font.family);
    pango_font_description_set_family(desc, platform::ToUtf8(family).c_str());
    pango_font_description_set_absolute_size(desc, std::max(1, font.pixelSize) * PANGO_SCALE);
    if (font.style & kFontStyleBold) {
      pango_font_description_set_weight(desc, PANGO_WEIGHT_BOLD);
    }
    if (font.style & kFontStyleItalic) {
      pango_font_description_set_style(desc, PANGO_STYLE_ITALIC);
    }
  }
  ~FontDescription() { pango_font_description_free(desc); }
  FontDescription(const FontDescription&) = delete;
  FontDescription& operator=(const FontDescription&) = delete;
};

// Lays the text out on the context; the caller owns the layout.
PangoLayout* MakeLayout(PangoContext* context, const std::wstring& text, const TextFont& font,
                        const TextFormat& format, int width) {
  PangoLayout* layout = pango_layout_new(context);
  FontDescription desc(font);
  pango_layout_set_font_description(layout, desc.desc);
  std::string utf8 = platform::ToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  PangoAttrList* attrs = pango_attr_list_new();
  if (font.style & kFontStyleUnderline) {
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (font.style & kFontStyleStrikeout) {
    pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
  pango_layout_set_single_paragraph_mode(layout, format.singleLine);
  // Only wrapping and the ellipsis need a width; otherwise a line runs on
  // and DrawText aligns the line box itself.
  if (width >= 0 && !format.singleLine && format.wrap) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    if (format.ellipsis) {
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
  } else if (width >= 0 && format.ellipsis) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    // One line per paragraph: each line is cut on its own.
    pango_layout_set_height(layout, -1);
  }
  PangoAlignment align = PANGO_ALIGN_LEFT;
  if (format.horizontal == TextAlign::Center) align = PANGO_ALIGN_CENTER;
  if (format.horizontal == TextAlign::Far) align = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout, align);
  return layout;
}

void ConfigureContext(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 96);
}

double LineHeightOf(PangoContext* context, const TextFont& font) {
  FontDescription desc(font);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, desc.desc, nullptr);
  double height = pango_font_metrics_get_height(metrics) / double(PANGO_SCALE);
  if (height <= 0) {
    height = (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
             double(PANGO_SCALE);
  }
  pango_font_metrics_unref(metrics);
  return height;
}

}  // namespace

void Canvas::DrawText(const std::wstring& text, const CRect& rect, const TextFont& font,
                      const TextFormat& format, ARGB colour) {
  if (!m_impl || text.empty() || rect.IsRectEmpty() || (colour >> 24) == 0) return;
  FontRegistry::EnsureEmbeddedFont();
  std::scoped_lock lock(text_engine::TextMutex());
  cairo_t* cr = m_impl->cr;
  GObjectHolder<PangoContext> context(pango_font_map_create_context(text_engine::FontMap()));
  ConfigureContext(context.object);
  GObjectHolder<PangoLayout> layout(MakeLayout(context.object, text, font, format, rect.Width()));
  PangoRectangle logical;
  pango_layout_get_extents(layout.object, nullptr, &logical);
  const double height = logical.height / double(PANGO_SCALE);
  double y = rect.top;
  if (format.vertical == TextAlign::Center) y = rect.top + (rect.Height() - height) / 2;
  if (format.vertical == TextAlign::Far) y = rect.bottom - height;
  double x = rect.left;
  if (pango_layout_get_width(layout.object) < 0) {
    // Unlimited width: align the line box ourselves.
    const double width = logical.width / double(PANGO_SCALE);
    if (format.horizontal == TextAlign::Center) x = rect.left + (rect.Width() - width) / 2;
    if (format.horizontal == TextAlign::Far) x = rect.right - width;
  }
  cairo_save(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_clip(cr);
  canvas_detail::SetSourceArgb(cr, colour);
  cairo_move_to(cr, std::round(x), std::round(y));
  pango_cairo_update_context(cr, context.object);
  ConfigureContext(context.object);
  pango_layout_context_changed(layout.object);
  pango_cairo_show_layout(cr, layout.object);
  cairo_restore(cr);
}

TextMetrics Canvas::MeasureText(const std::wstring& text, const TextFont& font, const TextFormat& format,
                                int maxWidth) {
  TextMetrics metrics;
  FontRegistry::EnsureEmbeddedFont();
  std::scoped_lock lock(text_engine::TextMutex());
  GObjectHolder<PangoContext> context(pango_font_map_create_context(text_engine::FontMap()));
  ConfigureContext(context.object);
  metrics.lineHeight = LineHeightOf(context.object, font);
  if (text.empty()) {
    metrics.logicalHeight = metrics.lineHeight;
    return metrics;
  }
  GObjectHolder<PangoLayout> layout(MakeLayout(context.object, text, font, format, maxWidth));
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout.object, &ink, &logical);
  metrics.inkWidth = ink.width / double(PANGO_SCALE);
  metrics.inkHeight = ink.height / double(PANGO_SCALE);
  metrics.logicalWidth = logical.width / double(PANGO_SCALE);
  metrics.logicalHeight = logical.height / double(PANGO_SCALE);
  return metrics;
}

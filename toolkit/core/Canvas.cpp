#include "toolkit/core/Canvas.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "toolkit/core/CanvasImpl.h"

using canvas_detail::SetSourceArgb;

void Path::MoveTo(double x, double y) { m_ops.push_back({OpKind::Move, {x, y, 0, 0, 0, 0}}); }
void Path::LineTo(double x, double y) { m_ops.push_back({OpKind::Line, {x, y, 0, 0, 0, 0}}); }
void Path::ArcTo(double x, double y, double w, double h, double startDegrees, double sweepDegrees) {
  m_ops.push_back({OpKind::Arc, {x, y, w, h, startDegrees, sweepDegrees}});
}
void Path::Close() { m_ops.push_back({OpKind::Close, {0, 0, 0, 0, 0, 0}}); }

namespace {

void BuildPath(cairo_t* cr, const Path& path) {
  cairo_new_path(cr);
  for (const Path::Op& op : path.Ops()) {
    switch (op.kind) {
      case Path::OpKind::Move:
        cairo_move_to(cr, op.v[0], op.v[1]);
        break;
      case Path::OpKind::Line:
        cairo_line_to(cr, op.v[0], op.v[1]);
        break;
      case Path::OpKind::Arc: {
        const double w = op.v[2], h = op.v[3];
        if (w <= 0 || h <= 0) {
          break;
        }
        // An elliptic arc is a circular one in a scaled space; the angles
        // grow clockwise on screen because y grows downwards.
        const double start = op.v[4] * std::numbers::pi / 180.0;
        const double end = (op.v[4] + op.v[5]) * std::numbers::pi / 180.0;
        cairo_save(cr);
        cairo_translate(cr, op.v[0] + w / 2, op.v[1] + h / 2);
        cairo_scale(cr, w / 2, h / 2);
        if (op.v[5] >= 0) {
          cairo_arc(cr, 0, 0, 1, start, end);
        } else {
          cairo_arc_negative(cr, 0, 0, 1, start, end);
        }
        cairo_restore(cr);
        break;
      }
      case Path::OpKind::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

void RectPath(cairo_t* cr, const CRect& r) {
  cairo_new_path(cr);
  cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
}

}  // namespace

Canvas::Canvas() = default;

Canvas::Canvas(int width, int height) {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) {
    return;
  }
  auto impl = std::make_unique<Impl>();
  impl->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(impl->surface) != CAIRO_STATUS_SUCCESS) {
    return;
  }
  impl->cr = cairo_create(impl->surface);
  if (cairo_status(impl->cr) != CAIRO_STATUS_SUCCESS) {
    return;
  }
  m_impl = std::move(impl);
}

Canvas::~Canvas() = default;
Canvas::Canvas(Canvas&&) noexcept = default;
Canvas& Canvas::operator=(Canvas&&) noexcept = default;

bool Canvas::IsValid() const { return m_impl != nullptr; }
int Canvas::Width() const { return m_impl ? cairo_image_surface_get_width(m_impl->surface) : 0; }
int Canvas::Height() const { return m_impl ? cairo_image_surface_get_height(m_impl->surface) : 0; }
int Canvas::Stride() const { return m_impl ? cairo_image_surface_get_stride(m_impl->surface) : 0; }

uint8_t* Canvas::Bits() {
  if (!m_impl) return nullptr;
  cairo_surface_flush(m_impl->surface);
  return cairo_image_surface_get_data(m_impl->surface);
}

const uint8_t* Canvas::Bits() const {
  if (!m_impl) return nullptr;
  cairo_surface_flush(m_impl->surface);
  return cairo_image_surface_get_data(m_impl->surface);
}

void Canvas::MarkDirty() {
  if (m_impl) cairo_surface_mark_dirty(m_impl->surface);
}

ARGB Canvas::GetPixel(int x, int y) const {
  if (!m_impl || x < 0 || y < 0 || x >= Width() || y >= Height()) {
    return 0;
  }
  const uint8_t* row = Bits() + static_cast<size_t>(y) * Stride();
  return reinterpret_cast<const uint32_t*>(row)[x];
}

ARGB Canvas::GetColor(int x, int y) const {
  const ARGB p = GetPixel(x, y);
  const uint32_t a = p >> 24;
  if (a == 0 || a == 255) {
    return p;
  }
  auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

void Canvas::ClearRect(const CRect& rect, ARGB colour) {
  if (!m_impl || rect.IsRectEmpty()) return;
  cairo_t* cr = m_impl->cr;
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  SetSourceArgb(cr, colour);
  RectPath(cr, rect);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Canvas::Clear(ARGB colour) { ClearRect(CRect(0, 0, Width(), Height()), colour); }

void Canvas::FillRect(const CRect& rect, ARGB colour) {
  if (!m_impl || rect.IsRectEmpty()) return;
  SetSourceArgb(m_impl->cr, colour);
  RectPath(m_impl->cr, rect);
  cairo_fill(m_impl->cr);
}

void Canvas::FillPath(const Path& path, ARGB colour) {
  if (!m_impl || path.IsEmpty()) return;
  cairo_t* cr = m_impl->cr;
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  SetSourceArgb(cr, colour);
  BuildPath(cr, path);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Canvas::StrokePath(const Path& path, ARGB colour, double width) {
  if (!m_impl || path.IsEmpty() || width <= 0) return;
  cairo_t* cr = m_impl->cr;
  cairo_save(cr);
  SetSourceArgb(cr, colour);
  cairo_set_line_width(cr, width);
  BuildPath(cr, path);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Canvas::FillLinearGradient(const CRect& rect, ARGB from, ARGB to, bool vertical) {
  if (!m_impl || rect.IsRectEmpty()) return;
  // The stops sit on the centres of the first and last pixel, so the end
  // pixels carry the end colours exactly.
  const double x0 = rect.left + 0.5, y0 = rect.top + 0.5;
  const double x1 = vertical ? x0 : rect.right - 0.5;
  const double y1 = vertical ? rect.bottom - 0.5 : y0;
  cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
  auto stop = [pattern](double at, ARGB c) {
    cairo_pattern_add_color_stop_rgba(pattern, at, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                      (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
  };
  stop(0, from);
  stop(1, to);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_t* cr = m_impl->cr;
  cairo_save(cr);
  cairo_set_source(cr, pattern);
  RectPath(cr, rect);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
}

void Canvas::DrawCanvas(const Canvas& src, double dx, double dy, double dw, double dh, int sx, int sy,
                        int sw, int sh, uint8_t alpha) {
  if (!m_impl || !src.m_impl || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || alpha == 0) return;
  // Only the part of the source rectangle inside the source is drawn.
  if (sx < 0 || sy < 0 || sx + sw > src.Width() || sy + sh > src.Height()) {
    return;
  }
  cairo_surface_t* piece = cairo_surface_create_for_rectangle(src.m_impl->surface, sx, sy, sw, sh);
  cairo_t* cr = m_impl->cr;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, dx, dy, dw, dh);
  cairo_clip(cr);
  cairo_translate(cr, dx, dy);
  cairo_scale(cr, dw / sw, dh / sh);
  cairo_set_source_surface(cr, piece, 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr);
  // Padding keeps stretched edges from fading into transparent black.
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  const bool unscaled = std::abs(dw - sw) < 1e-9 && std::abs(dh - sh) < 1e-9;
  cairo_pattern_set_filter(pattern, unscaled ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
  if (alpha == 255) {
    cairo_paint(cr);
  } else {
    cairo_paint_with_alpha(cr, alpha / 255.0);
  }
  cairo_restore(cr);
  cairo_surface_destroy(piece);
}

void Canvas::CopyFrom(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
  if (!m_impl || !src.m_impl || w <= 0 || h <= 0) return;
  cairo_t* cr = m_impl->cr;
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, src.m_impl->surface, dx - sx, dy - sy);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  RectPath(cr, CRect(dx, dy, dx + w, dy + h));
  cairo_fill(cr);
  cairo_restore(cr);
}

void Canvas::PushClip(const CRect& rect) {
  if (!m_impl) return;
  cairo_save(m_impl->cr);
  RectPath(m_impl->cr, rect);
  cairo_clip(m_impl->cr);
  ++m_impl->clipDepth;
}

void Canvas::PopClip() {
  if (!m_impl || m_impl->clipDepth == 0) return;
  cairo_restore(m_impl->cr);
  --m_impl->clipDepth;
}

bool Canvas::SavePng(const std::string& path) const {
  if (!m_impl) return false;
  cairo_surface_flush(m_impl->surface);
  return cairo_surface_write_to_png(m_impl->surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

namespace {
struct PngReader {
  const uint8_t* data;
  size_t size;
  size_t at;
};

cairo_status_t ReadPngBytes(void* closure, unsigned char* out, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (reader->size - reader->at < length) {
    return CAIRO_STATUS_READ_ERROR;
  }
  std::copy(reader->data + reader->at, reader->data + reader->at + length, out);
  reader->at += length;
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

Canvas Canvas::FromPng(const uint8_t* data, size_t size) {
  Canvas result;
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!data || size < 8 || !std::equal(kSignature, kSignature + 8, data)) {
    return result;
  }
  // The header's size is checked before anything is allocated: a few bytes
  // must not be able to ask for gigabytes.
  if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) {
    return result;
  }
  auto be32 = [data](size_t at) {
    return (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) | (uint32_t(data[at + 2]) << 8) | data[at + 3];
  };
  const uint64_t width = be32(16), height = be32(20);
  if (width == 0 || height == 0 || width * height > kMaxDecodedPixels) {
    return result;
  }
  PngReader reader{data, size, 0};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(ReadPngBytes, &reader);
  if (cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(decoded);
    return result;
  }
  const int w = cairo_image_surface_get_width(decoded);
  const int h = cairo_image_surface_get_height(decoded);
  Canvas canvas(w, h);
  if (canvas.IsValid()) {
    // Always keep ARGB32, whatever format the decoder chose (RGB24 for
    // pictures without alpha).
    cairo_t* cr = canvas.m_impl->cr;
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, decoded, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    result = std::move(canvas);
  }
  cairo_surface_destroy(decoded);
  return result;
}

#include "Glyphs.h"

#include <cmath>

namespace {

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
}

// The open box under the import and export arrows.
void Tray(cairo_t* cr) {
  cairo_move_to(cr, 4, 14.5);
  cairo_line_to(cr, 4, 20);
  cairo_line_to(cr, 20, 20);
  cairo_line_to(cr, 20, 14.5);
}

void Box(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Triangle(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_close_path(cr);
}

void Speaker(cairo_t* cr) {
  cairo_move_to(cr, 3, 9.5);
  cairo_line_to(cr, 7, 9.5);
  cairo_line_to(cr, 12, 5);
  cairo_line_to(cr, 12, 19);
  cairo_line_to(cr, 7, 14.5);
  cairo_line_to(cr, 3, 14.5);
  cairo_close_path(cr);
}

}  // namespace

void DrawGlyph(cairo_t* cr, Glyph glyph, double x, double y, double size, double stroke) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 24.0, size / 24.0);
  cairo_set_line_width(cr, stroke);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

  switch (glyph) {
    case Glyph::Home:
      cairo_move_to(cr, 3, 11.5);
      cairo_line_to(cr, 12, 3.5);
      cairo_line_to(cr, 21, 11.5);
      cairo_move_to(cr, 5.5, 10);
      cairo_line_to(cr, 5.5, 20.5);
      cairo_line_to(cr, 18.5, 20.5);
      cairo_line_to(cr, 18.5, 10);
      cairo_stroke(cr);
      Box(cr, 10, 14, 4, 6.5, 0.8);
      cairo_fill(cr);
      break;
    case Glyph::Keyboard:
      Box(cr, 2, 6, 20, 13, 2.5);
      cairo_stroke(cr);
      for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col) {
          Box(cr, 4.6 + col * 3.2, 8.6 + row * 3.3, 2, 2, 0.5);
        }
      }
      cairo_fill(cr);
      Box(cr, 7.5, 15.2, 9, 1.9, 0.6);
      cairo_fill(cr);
      break;
    case Glyph::Macro:
      cairo_arc(cr, 7, 12, 4, 0, 2 * M_PI);
      cairo_stroke(cr);
      cairo_arc(cr, 7, 12, 1.6, 0, 2 * M_PI);
      cairo_fill(cr);
      Line(cr, 14, 7, 21, 7);
      Line(cr, 14, 12, 21, 12);
      Line(cr, 14, 17, 19, 17);
      cairo_stroke(cr);
      break;
    case Glyph::Light:
      cairo_arc(cr, 12, 12, 4.2, 0, 2 * M_PI);
      cairo_stroke(cr);
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        Line(cr, 12 + std::cos(a) * 7, 12 + std::sin(a) * 7, 12 + std::cos(a) * 10,
             12 + std::sin(a) * 10);
      }
      cairo_stroke(cr);
      break;
    case Glyph::Gear: {
      const int teeth = 8;
      for (int i = 0; i < teeth * 2; ++i) {
        const double a0 = i * M_PI / teeth - M_PI / (teeth * 2);
        const double a1 = a0 + M_PI / teeth;
        const double r = (i % 2 == 0) ? 10 : 7.6;
        if (i == 0) cairo_move_to(cr, 12 + std::cos(a0) * r, 12 + std::sin(a0) * r);
        cairo_arc(cr, 12, 12, r, a0, a1);
      }
      cairo_close_path(cr);
      cairo_stroke(cr);
      cairo_arc(cr, 12, 12, 3.2, 0, 2 * M_PI);
      cairo_stroke(cr);
      break;
    }
    case Glyph::Monitor:
      Box(cr, 2.5, 4, 19, 12.5, 1.5);
      cairo_stroke(cr);
      Line(cr, 12, 16.5, 12, 20);
      Line(cr, 7.5, 20.5, 16.5, 20.5);
      cairo_stroke(cr);
      break;
    case Glyph::Calculator:
      Box(cr, 5, 2.5, 14, 19, 2);
      cairo_stroke(cr);
      Box(cr, 8, 5.5, 8, 3.5, 0.6);
      cairo_fill(cr);
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
          cairo_arc(cr, 8.7 + col * 3.3, 12 + row * 3.3, 1.05, 0, 2 * M_PI);
          cairo_fill(cr);
        }
      }
      break;
    case Glyph::Envelope:
      Box(cr, 2.5, 5.5, 19, 13, 1.8);
      cairo_stroke(cr);
      cairo_move_to(cr, 3.5, 7);
      cairo_line_to(cr, 12, 13.5);
      cairo_line_to(cr, 20.5, 7);
      cairo_stroke(cr);
      break;
    case Glyph::Note:
      cairo_move_to(cr, 9, 17.5);
      cairo_line_to(cr, 9, 5);
      cairo_line_to(cr, 19.5, 3);
      cairo_line_to(cr, 19.5, 15.5);
      cairo_stroke(cr);
      cairo_save(cr);
      cairo_translate(cr, 6.3, 18);
      cairo_scale(cr, 1.3, 1);
      cairo_arc(cr, 0, 0, 2.6, 0, 2 * M_PI);
      cairo_restore(cr);
      cairo_fill(cr);
      cairo_save(cr);
      cairo_translate(cr, 16.8, 16);
      cairo_scale(cr, 1.3, 1);
      cairo_arc(cr, 0, 0, 2.6, 0, 2 * M_PI);
      cairo_restore(cr);
      cairo_fill(cr);
      break;
    case Glyph::PlayPause:
      Triangle(cr, 3, 5, 12.5, 12, 3, 19);
      cairo_fill(cr);
      Box(cr, 14.5, 5, 2.6, 14, 0.6);
      Box(cr, 19, 5, 2.6, 14, 0.6);
      cairo_fill(cr);
      break;
    case Glyph::Stop:
      Box(cr, 6, 6, 12, 12, 1.6);
      cairo_fill(cr);
      break;
    case Glyph::Previous:
      Box(cr, 4, 6, 2.6, 12, 0.6);
      cairo_fill(cr);
      Triangle(cr, 20, 6, 8, 12, 20, 18);
      cairo_fill(cr);
      break;
    case Glyph::Next:
      Triangle(cr, 4, 6, 16, 12, 4, 18);
      cairo_fill(cr);
      Box(cr, 17.4, 6, 2.6, 12, 0.6);
      cairo_fill(cr);
      break;
    case Glyph::VolumeDown:
      Speaker(cr);
      cairo_fill(cr);
      cairo_arc(cr, 12, 12, 4.5, -M_PI / 4, M_PI / 4);
      cairo_stroke(cr);
      break;
    case Glyph::VolumeUp:
      Speaker(cr);
      cairo_fill(cr);
      cairo_arc(cr, 12, 12, 4.5, -M_PI / 4, M_PI / 4);
      cairo_stroke(cr);
      cairo_arc(cr, 12, 12, 8.5, -M_PI / 4, M_PI / 4);
      cairo_stroke(cr);
      break;
    case Glyph::Mute:
      Speaker(cr);
      cairo_fill(cr);
      Line(cr, 15.5, 9, 21, 15);
      Line(cr, 21, 9, 15.5, 15);
      cairo_stroke(cr);
      break;
    case Glyph::Refresh:
      cairo_arc(cr, 12, 12, 7.5, -M_PI * 0.35, M_PI * 1.45);
      cairo_stroke(cr);
      Triangle(cr, 15.4, 1.6, 19.6, 7.6, 13.0, 8.2);
      cairo_fill(cr);
      break;
    case Glyph::Cross:
      cairo_arc(cr, 12, 12, 9, 0, 2 * M_PI);
      cairo_stroke(cr);
      Line(cr, 8.5, 8.5, 15.5, 15.5);
      Line(cr, 15.5, 8.5, 8.5, 15.5);
      cairo_stroke(cr);
      break;
    case Glyph::Back:
    case Glyph::ArrowLeft:
      Line(cr, 19.5, 12, 5, 12);
      cairo_move_to(cr, 11, 5.5);
      cairo_line_to(cr, 4.5, 12);
      cairo_line_to(cr, 11, 18.5);
      cairo_stroke(cr);
      break;
    case Glyph::Forward:
    case Glyph::ArrowRight:
      Line(cr, 4.5, 12, 19, 12);
      cairo_move_to(cr, 13, 5.5);
      cairo_line_to(cr, 19.5, 12);
      cairo_line_to(cr, 13, 18.5);
      cairo_stroke(cr);
      break;
    case Glyph::ArrowUp:
      Line(cr, 12, 19.5, 12, 5);
      cairo_move_to(cr, 5.5, 11);
      cairo_line_to(cr, 12, 4.5);
      cairo_line_to(cr, 18.5, 11);
      cairo_stroke(cr);
      break;
    case Glyph::ArrowDown:
      Line(cr, 12, 4.5, 12, 19);
      cairo_move_to(cr, 5.5, 13);
      cairo_line_to(cr, 12, 19.5);
      cairo_line_to(cr, 18.5, 13);
      cairo_stroke(cr);
      break;
    case Glyph::Star:
      for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = (i % 2 == 0) ? 9.5 : 4.2;
        const double px = 12 + std::cos(a) * r, py = 12.8 + std::sin(a) * r;
        if (i == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
      }
      cairo_close_path(cr);
      cairo_stroke(cr);
      break;
    case Glyph::Search:
      cairo_arc(cr, 10, 10, 6, 0, 2 * M_PI);
      cairo_stroke(cr);
      cairo_set_line_width(cr, stroke * 1.3);
      Line(cr, 14.6, 14.6, 20, 20);
      cairo_stroke(cr);
      break;
    case Glyph::Plus:
      Line(cr, 12, 5, 12, 19);
      Line(cr, 5, 12, 19, 12);
      cairo_stroke(cr);
      break;
    case Glyph::Trash:
      Line(cr, 4, 6.5, 20, 6.5);
      cairo_move_to(cr, 9, 6.5);
      cairo_line_to(cr, 9.5, 3.5);
      cairo_line_to(cr, 14.5, 3.5);
      cairo_line_to(cr, 15, 6.5);
      cairo_move_to(cr, 6, 6.5);
      cairo_line_to(cr, 7, 20.5);
      cairo_line_to(cr, 17, 20.5);
      cairo_line_to(cr, 18, 6.5);
      Line(cr, 10.2, 10, 10.4, 17);
      Line(cr, 13.8, 10, 13.6, 17);
      cairo_stroke(cr);
      break;
    case Glyph::Pencil:
      cairo_move_to(cr, 4, 20);
      cairo_line_to(cr, 5, 15.5);
      cairo_line_to(cr, 15.5, 5);
      cairo_line_to(cr, 19, 8.5);
      cairo_line_to(cr, 8.5, 19);
      cairo_close_path(cr);
      Line(cr, 13, 7.5, 16.5, 11);
      cairo_stroke(cr);
      break;
    case Glyph::Import:
      Line(cr, 12, 3.5, 12, 14);
      cairo_move_to(cr, 7.5, 9.5);
      cairo_line_to(cr, 12, 14);
      cairo_line_to(cr, 16.5, 9.5);
      Tray(cr);
      cairo_stroke(cr);
      break;
    case Glyph::Export:
      Line(cr, 12, 14, 12, 3.5);
      cairo_move_to(cr, 7.5, 8);
      cairo_line_to(cr, 12, 3.5);
      cairo_line_to(cr, 16.5, 8);
      Tray(cr);
      cairo_stroke(cr);
      break;
    case Glyph::Folder:
      cairo_move_to(cr, 3, 18.5);
      cairo_line_to(cr, 3, 5.5);
      cairo_line_to(cr, 9, 5.5);
      cairo_line_to(cr, 11, 8);
      cairo_line_to(cr, 21, 8);
      cairo_line_to(cr, 21, 18.5);
      cairo_close_path(cr);
      cairo_stroke(cr);
      break;
    case Glyph::Clock:
      cairo_arc(cr, 12, 12, 8.5, 0, 2 * M_PI);
      cairo_stroke(cr);
      cairo_move_to(cr, 12, 7);
      cairo_line_to(cr, 12, 12);
      cairo_line_to(cr, 15.5, 14);
      cairo_stroke(cr);
      break;
    case Glyph::Minimise:
      Line(cr, 6, 12.5, 18, 12.5);
      cairo_stroke(cr);
      break;
    case Glyph::Close:
      Line(cr, 6.5, 6.5, 17.5, 17.5);
      Line(cr, 17.5, 6.5, 6.5, 17.5);
      cairo_stroke(cr);
      break;
    case Glyph::Globe:
      cairo_arc(cr, 12, 12, 8.5, 0, 2 * M_PI);
      cairo_stroke(cr);
      cairo_save(cr);
      cairo_translate(cr, 12, 12);
      cairo_scale(cr, 0.42, 1);
      cairo_arc(cr, 0, 0, 8.5, 0, 2 * M_PI);
      cairo_restore(cr);
      cairo_stroke(cr);
      Line(cr, 3.5, 12, 20.5, 12);
      Line(cr, 5.2, 7.5, 18.8, 7.5);
      Line(cr, 5.2, 16.5, 18.8, 16.5);
      cairo_stroke(cr);
      break;
    case Glyph::Usb:
      Line(cr, 12, 3, 12, 19);
      cairo_stroke(cr);
      Triangle(cr, 12, 1.5, 14.5, 5.5, 9.5, 5.5);
      cairo_fill(cr);
      cairo_move_to(cr, 12, 15);
      cairo_line_to(cr, 6.5, 11);
      cairo_line_to(cr, 6.5, 8.5);
      cairo_move_to(cr, 12, 13);
      cairo_line_to(cr, 17.5, 9.5);
      cairo_line_to(cr, 17.5, 7.5);
      cairo_stroke(cr);
      cairo_arc(cr, 6.5, 7.5, 1.6, 0, 2 * M_PI);
      cairo_fill(cr);
      Box(cr, 16, 5, 3, 3, 0.3);
      cairo_fill(cr);
      cairo_arc(cr, 12, 20, 2.2, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    case Glyph::Bolt:
      cairo_move_to(cr, 14, 1.5);
      cairo_line_to(cr, 5, 13.5);
      cairo_line_to(cr, 11, 13.5);
      cairo_line_to(cr, 9.5, 22.5);
      cairo_line_to(cr, 19, 10);
      cairo_line_to(cr, 13, 10);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case Glyph::Windows:
      // Four panes, slightly apart.
      Box(cr, 4, 4, 7.4, 7.4, 0.8);
      Box(cr, 12.6, 4, 7.4, 7.4, 0.8);
      Box(cr, 4, 12.6, 7.4, 7.4, 0.8);
      Box(cr, 12.6, 12.6, 7.4, 7.4, 0.8);
      cairo_fill(cr);
      break;
    case Glyph::Menu:
      Box(cr, 4, 3.5, 16, 17, 2);
      cairo_stroke(cr);
      Line(cr, 8, 9, 16, 9);
      Line(cr, 8, 12.5, 16, 12.5);
      Line(cr, 8, 16, 13, 16);
      cairo_stroke(cr);
      break;
    case Glyph::TriangleUp:
      Triangle(cr, 12, 6, 19, 17, 5, 17);
      cairo_fill(cr);
      break;
    case Glyph::TriangleDown:
      Triangle(cr, 5, 7, 19, 7, 12, 18);
      cairo_fill(cr);
      break;
    case Glyph::TriangleLeft:
      Triangle(cr, 6, 12, 17, 5, 17, 19);
      cairo_fill(cr);
      break;
    case Glyph::TriangleRight:
      Triangle(cr, 7, 5, 18, 12, 7, 19);
      cairo_fill(cr);
      break;
  }
  cairo_restore(cr);
}

#pragma once
// The painters of the skin pictures: each draws one state slice of one
// picture into the box (0, 0, width, height) of the current cairo context.
// The builder translates the context to each slice in turn, so a painter
// only ever sees its own slice.
#include <cairo.h>

#include <string_view>

#include "Glyphs.h"

using SlicePainter = void (*)(cairo_t* cr, int state, int width, int height);

// The painter of a catalogue picture, or null for a name no painter draws.
SlicePainter FindSlicePainter(std::string_view file);

// Pictures of the window frame, the dialogs and the tips (FramePictures.cpp).
void PaintMainBackground(cairo_t*, int, int, int);
void PaintCaption(cairo_t*, int, int, int);
void PaintLogoSlice(cairo_t*, int, int, int);
void PaintCloseButton(cairo_t*, int, int, int);
void PaintMinimiseButton(cairo_t*, int, int, int);
void PaintWebsiteButton(cairo_t*, int, int, int);
void PaintDeviceState(cairo_t*, int, int, int);
void PaintPrompt(cairo_t*, int, int, int);
void PaintTipBack(cairo_t*, int, int, int);
void PaintTipArrowLeft(cairo_t*, int, int, int);
void PaintTipArrowRight(cairo_t*, int, int, int);
void PaintTipArrowTop(cairo_t*, int, int, int);

// The logo at any size (the window icon, the tray icon, the desktop icon).
void DrawLogo(cairo_t* cr, double x, double y, double size);

// Buttons, boxes, lists, sliders and the colour pictures (ControlPictures.cpp).
void PaintApplyButton(cairo_t*, int, int, int);
void PaintCheckBox(cairo_t*, int, int, int);
void PaintRadioBox(cairo_t*, int, int, int);
void PaintOpenFile(cairo_t*, int, int, int);
void PaintComboBox(cairo_t*, int, int, int);
void PaintEdit(cairo_t*, int, int, int);
void PaintListCircle(cairo_t*, int, int, int);
void PaintAddButton(cairo_t*, int, int, int);
void PaintDeleteButton(cairo_t*, int, int, int);
void PaintEditButton(cairo_t*, int, int, int);
void PaintImportButton(cairo_t*, int, int, int);
void PaintExportButton(cairo_t*, int, int, int);
void PaintCustomKey(cairo_t*, int, int, int);
void PaintSliderBack(cairo_t*, int, int, int);
void PaintThumb(cairo_t*, int, int, int);
void PaintDirectionLeft(cairo_t*, int, int, int);
void PaintDirectionRight(cairo_t*, int, int, int);
void PaintDirectionTop(cairo_t*, int, int, int);
void PaintDirectionBottom(cairo_t*, int, int, int);
void PaintColorful(cairo_t*, int, int, int);
void PaintCirclePalette(cairo_t*, int, int, int);
void PaintRecordTime(cairo_t*, int, int, int);
void PaintRecordUp(cairo_t*, int, int, int);
void PaintRecordDown(cairo_t*, int, int, int);
void PaintRecordDelete(cairo_t*, int, int, int);

// Tab, page, status and key-function icons (IconPictures.cpp).
void PaintTabHome(cairo_t*, int, int, int);
void PaintTabCustomKey(cairo_t*, int, int, int);
void PaintTabMacro(cairo_t*, int, int, int);
void PaintTabLight(cairo_t*, int, int, int);
void PaintTabConfig(cairo_t*, int, int, int);
void PaintPageKeyboard(cairo_t*, int, int, int);
void PaintPageMacro(cairo_t*, int, int, int);
void PaintPageLight(cairo_t*, int, int, int);
void PaintPageConfig(cairo_t*, int, int, int);
void PaintBatteryBack(cairo_t*, int, int, int);
void PaintBatteryLevel(cairo_t*, int, int, int);
void PaintBatteryCharge(cairo_t*, int, int, int);
void PaintModeUsb(cairo_t*, int, int, int);
// One icon of the key function list: a light glyph on a transparent square.
void PaintMediaGlyph(cairo_t* cr, Glyph glyph, int width, int height);

#include "Painters.h"

#include <array>

namespace {

struct PainterEntry {
  std::string_view file;
  SlicePainter paint;
};

template <Glyph G>
void Media(cairo_t* cr, int, int w, int h) {
  PaintMediaGlyph(cr, G, w, h);
}

constexpr std::array kPainters = {
    PainterEntry{"main_bkg.png", PaintMainBackground},
    PainterEntry{"pic_caption.png", PaintCaption},
    PainterEntry{"logo/logo.png", PaintLogoSlice},
    PainterEntry{"main_sysbtn_close.png", PaintCloseButton},
    PainterEntry{"main_sysbtn_min.png", PaintMinimiseButton},
    PainterEntry{"main_sysbtn_website.png", PaintWebsiteButton},
    PainterEntry{"img_device_state.png", PaintDeviceState},
    PainterEntry{"icon/icon_battery_bkg.png", PaintBatteryBack},
    PainterEntry{"icon/icon_batteryvalue.png", PaintBatteryLevel},
    PainterEntry{"icon/icon_charge.png", PaintBatteryCharge},
    PainterEntry{"icon/mode_usb.png", PaintModeUsb},
    PainterEntry{"icon/tab_home.png", PaintTabHome},
    PainterEntry{"icon/tab_customkey.png", PaintTabCustomKey},
    PainterEntry{"icon/tab_macro.png", PaintTabMacro},
    PainterEntry{"icon/tab_light.png", PaintTabLight},
    PainterEntry{"icon/tab_config.png", PaintTabConfig},
    PainterEntry{"icon/icon_keyboard.png", PaintPageKeyboard},
    PainterEntry{"icon/icon_macro.png", PaintPageMacro},
    PainterEntry{"icon/icon_lightmode.png", PaintPageLight},
    PainterEntry{"icon/icon_config.png", PaintPageConfig},
    PainterEntry{"btn_apply.png", PaintApplyButton},
    PainterEntry{"btn_checkbox.png", PaintCheckBox},
    PainterEntry{"btn_radiobox.png", PaintRadioBox},
    PainterEntry{"btn_openfile.png", PaintOpenFile},
    PainterEntry{"img_combobox.png", PaintComboBox},
    PainterEntry{"img_edit.png", PaintEdit},
    PainterEntry{"icon/icon_circle.png", PaintListCircle},
    PainterEntry{"bk_prompt.png", PaintPrompt},
    PainterEntry{"img_tip_bk.png", PaintTipBack},
    PainterEntry{"img_tip_arrow_left.png", PaintTipArrowLeft},
    PainterEntry{"img_tip_arrow_right.png", PaintTipArrowRight},
    PainterEntry{"img_tip_arrow_top.png", PaintTipArrowTop},
    PainterEntry{"imgbtn_add.png", PaintAddButton},
    PainterEntry{"imgbtn_del.png", PaintDeleteButton},
    PainterEntry{"imgbtn_edit.png", PaintEditButton},
    PainterEntry{"imgbtn_import.png", PaintImportButton},
    PainterEntry{"imgbtn_export.png", PaintExportButton},
    PainterEntry{"img_customkey.png", PaintCustomKey},
    PainterEntry{"icon/icon_pc.png", Media<Glyph::Monitor>},
    PainterEntry{"icon/icon_cal.png", Media<Glyph::Calculator>},
    PainterEntry{"icon/icon_email.png", Media<Glyph::Envelope>},
    PainterEntry{"icon/icon_multimedia.png", Media<Glyph::Note>},
    PainterEntry{"icon/icon_playpause.png", Media<Glyph::PlayPause>},
    PainterEntry{"icon/icon_stop.png", Media<Glyph::Stop>},
    PainterEntry{"icon/icon_pre.png", Media<Glyph::Previous>},
    PainterEntry{"icon/icon_next.png", Media<Glyph::Next>},
    PainterEntry{"icon/icon_vol_down.png", Media<Glyph::VolumeDown>},
    PainterEntry{"icon/icon_vol_up.png", Media<Glyph::VolumeUp>},
    PainterEntry{"icon/icon_vol_mute.png", Media<Glyph::Mute>},
    PainterEntry{"icon/icon_home.png", Media<Glyph::Home>},
    PainterEntry{"icon/icon_web_refresh.png", Media<Glyph::Refresh>},
    PainterEntry{"icon/icon_web_stop.png", Media<Glyph::Cross>},
    PainterEntry{"icon/icon_web_backward.png", Media<Glyph::Back>},
    PainterEntry{"icon/icon_web_foreward.png", Media<Glyph::Forward>},
    PainterEntry{"icon/icon_favorites.png", Media<Glyph::Star>},
    PainterEntry{"icon/icon_web_search.png", Media<Glyph::Search>},
    PainterEntry{"img_slider_back.png", PaintSliderBack},
    PainterEntry{"img_thumb.png", PaintThumb},
    PainterEntry{"btn_direction_left.png", PaintDirectionLeft},
    PainterEntry{"btn_direction_right.png", PaintDirectionRight},
    PainterEntry{"btn_direction_top.png", PaintDirectionTop},
    PainterEntry{"btn_direction_bottom.png", PaintDirectionBottom},
    PainterEntry{"btn_colorful.png", PaintColorful},
    PainterEntry{"img_circlepalette.png", PaintCirclePalette},
    PainterEntry{"btn_record_time.png", PaintRecordTime},
    PainterEntry{"btn_record_up.png", PaintRecordUp},
    PainterEntry{"btn_record_down.png", PaintRecordDown},
    PainterEntry{"btn_record_del.png", PaintRecordDelete},
    PainterEntry{"key_icon_mute.png", Media<Glyph::Mute>},
    PainterEntry{"key_icon_volume_down.png", Media<Glyph::VolumeDown>},
    PainterEntry{"key_icon_volume_up.png", Media<Glyph::VolumeUp>},
    PainterEntry{"key_icon_play.png", Media<Glyph::PlayPause>},
    PainterEntry{"key_icon_windows.png", Media<Glyph::Windows>},
    PainterEntry{"key_icon_menu.png", Media<Glyph::Menu>},
    PainterEntry{"key_icon_up.png", Media<Glyph::TriangleUp>},
    PainterEntry{"key_icon_down.png", Media<Glyph::TriangleDown>},
    PainterEntry{"key_icon_left.png", Media<Glyph::TriangleLeft>},
    PainterEntry{"key_icon_right.png", Media<Glyph::TriangleRight>},
};

}  // namespace

SlicePainter FindSlicePainter(std::string_view file) {
  for (const PainterEntry& e : kPainters) {
    if (e.file == file) return e.paint;
  }
  return nullptr;
}

#pragma once
// Every picture of the skin folder skins/theme1/ with the number of state
// slices the controls cut it into.  The pages ask for these names with these
// counts (SetImage(file, states)); the skin builder draws each picture as
// `states` slices of `sliceWidth` × `height` side by side, and the skin
// tests check the built folder against this table.  A page that asks for a
// new picture adds it here first.
//
// Names are relative to the skin folder and written with '/' as the toolkit
// resolves them; the pages may write "icon//x.png" or "icon\x.png", which
// name the same file.
//
// Plain data, no dependencies: the builder, the tests and later the pages
// include it.
#include <array>
#include <string>
#include <string_view>

struct SkinPicture {
  std::string_view file;
  int states;
  int sliceWidth;
  int height;
};

inline constexpr std::array kSkinPictures = {
    // Main window frame.
    SkinPicture{"main_bkg.png", 1, 1280, 720},
    SkinPicture{"pic_caption.png", 1, 300, 30},
    SkinPicture{"logo/logo.png", 1, 40, 40},
    SkinPicture{"main_sysbtn_close.png", 4, 30, 30},
    SkinPicture{"main_sysbtn_min.png", 4, 30, 30},
    SkinPicture{"main_sysbtn_website.png", 4, 30, 30},
    SkinPicture{"img_device_state.png", 4, 60, 38},
    SkinPicture{"icon/icon_battery_bkg.png", 1, 48, 20},
    SkinPicture{"icon/icon_batteryvalue.png", 1, 48, 20},
    SkinPicture{"icon/icon_charge.png", 1, 14, 20},
    SkinPicture{"icon/mode_usb.png", 1, 24, 24},
    // Tab strip: normal, hover, selected, selected and hovered.
    SkinPicture{"icon/tab_home.png", 4, 32, 32},
    SkinPicture{"icon/tab_customkey.png", 4, 32, 32},
    SkinPicture{"icon/tab_macro.png", 4, 32, 32},
    SkinPicture{"icon/tab_light.png", 4, 32, 32},
    SkinPicture{"icon/tab_config.png", 4, 32, 32},
    // Page icons beside the page title.
    SkinPicture{"icon/icon_keyboard.png", 1, 32, 32},
    SkinPicture{"icon/icon_macro.png", 1, 32, 32},
    SkinPicture{"icon/icon_lightmode.png", 1, 32, 32},
    SkinPicture{"icon/icon_config.png", 1, 32, 32},
    // Shared controls.
    SkinPicture{"btn_apply.png", 4, 48, 38},
    SkinPicture{"btn_checkbox.png", 8, 20, 20},
    SkinPicture{"btn_radiobox.png", 8, 20, 20},
    SkinPicture{"btn_openfile.png", 4, 30, 30},
    SkinPicture{"img_combobox.png", 4, 60, 38},
    SkinPicture{"img_edit.png", 4, 24, 24},
    SkinPicture{"icon/icon_circle.png", 2, 16, 16},
    SkinPicture{"bk_prompt.png", 1, 380, 200},
    SkinPicture{"img_tip_bk.png", 1, 190, 100},
    SkinPicture{"img_tip_arrow_left.png", 1, 10, 16},
    SkinPicture{"img_tip_arrow_right.png", 1, 10, 16},
    SkinPicture{"img_tip_arrow_top.png", 1, 16, 10},
    SkinPicture{"loading.gif", 1, 100, 100},
    // Custom key page.
    SkinPicture{"imgbtn_add.png", 4, 30, 30},
    SkinPicture{"imgbtn_del.png", 4, 30, 30},
    SkinPicture{"imgbtn_edit.png", 4, 30, 30},
    SkinPicture{"imgbtn_import.png", 4, 30, 30},
    SkinPicture{"imgbtn_export.png", 4, 30, 30},
    SkinPicture{"img_customkey.png", 4, 36, 28},
    // Icons of the key function list, drawn at 20 × 20.
    SkinPicture{"icon/icon_pc.png", 1, 20, 20},
    SkinPicture{"icon/icon_cal.png", 1, 20, 20},
    SkinPicture{"icon/icon_email.png", 1, 20, 20},
    SkinPicture{"icon/icon_multimedia.png", 1, 20, 20},
    SkinPicture{"icon/icon_playpause.png", 1, 20, 20},
    SkinPicture{"icon/icon_stop.png", 1, 20, 20},
    SkinPicture{"icon/icon_pre.png", 1, 20, 20},
    SkinPicture{"icon/icon_next.png", 1, 20, 20},
    SkinPicture{"icon/icon_vol_down.png", 1, 20, 20},
    SkinPicture{"icon/icon_vol_up.png", 1, 20, 20},
    SkinPicture{"icon/icon_vol_mute.png", 1, 20, 20},
    SkinPicture{"icon/icon_home.png", 1, 20, 20},
    SkinPicture{"icon/icon_web_refresh.png", 1, 20, 20},
    SkinPicture{"icon/icon_web_stop.png", 1, 20, 20},
    SkinPicture{"icon/icon_web_backward.png", 1, 20, 20},
    SkinPicture{"icon/icon_web_foreward.png", 1, 20, 20},
    SkinPicture{"icon/icon_favorites.png", 1, 20, 20},
    SkinPicture{"icon/icon_web_search.png", 1, 20, 20},
    // Light page.  The slider track holds the filled track in its upper
    // half and the empty track in its lower half; the thumb has a normal
    // and a hovered slice.
    SkinPicture{"img_slider_back.png", 1, 400, 12},
    SkinPicture{"img_thumb.png", 2, 36, 36},
    SkinPicture{"btn_direction_left.png", 8, 36, 36},
    SkinPicture{"btn_direction_right.png", 8, 36, 36},
    SkinPicture{"btn_direction_top.png", 8, 36, 36},
    SkinPicture{"btn_direction_bottom.png", 8, 36, 36},
    SkinPicture{"btn_colorful.png", 1, 30, 30},
    SkinPicture{"img_circlepalette.png", 1, 140, 140},
    // Macro page.
    SkinPicture{"btn_record_time.png", 4, 20, 20},
    SkinPicture{"btn_record_up.png", 4, 20, 20},
    SkinPicture{"btn_record_down.png", 4, 20, 20},
    SkinPicture{"btn_record_del.png", 4, 20, 20},
    // Icons the keyboard layout names for its keys (the `icon` attribute),
    // drawn on the key in the plain key grid.
    SkinPicture{"key_icon_mute.png", 1, 16, 16},
    SkinPicture{"key_icon_volume_down.png", 1, 16, 16},
    SkinPicture{"key_icon_volume_up.png", 1, 16, 16},
    SkinPicture{"key_icon_play.png", 1, 16, 16},
    SkinPicture{"key_icon_windows.png", 1, 16, 16},
    SkinPicture{"key_icon_menu.png", 1, 16, 16},
    SkinPicture{"key_icon_up.png", 1, 16, 16},
    SkinPicture{"key_icon_down.png", 1, 16, 16},
    SkinPicture{"key_icon_left.png", 1, 16, 16},
    SkinPicture{"key_icon_right.png", 1, 16, 16},
};

// Number of frames of the wait dialog's animation.
inline constexpr int kLoadingFrames = 12;

// The tray and window icon, an ICO file with PNG entries of these sizes.
inline constexpr std::string_view kIconFile = "Kestrel.ico";
inline constexpr std::array kIconSizes = {16, 24, 32, 48, 64, 256};

// The keyboard picture is "keyboard/" + the layout's `image` attribute, as
// large as the layout's `width` × `height`.
inline constexpr std::string_view kKeyboardFolder = "keyboard/";

// The toolkit's own scroll-bar pictures (resources 101 and 102 of libtaviui).
struct ToolkitResource {
  int id;
  int width;
  int height;
};
inline constexpr std::array kToolkitResources = {
    ToolkitResource{101, 22, 20},   // horizontal bar, 7 pixels thick, centred
    ToolkitResource{102, 28, 239},  // vertical bar, 7 pixels thick, centred
};

// The name as the skin folder holds it: backslashes become slashes and
// repeated slashes one slash ("icon\\x.png" and "icon//x.png" are "icon/x.png").
inline std::string NormalSkinName(std::string_view file) {
  std::string out;
  for (char c : file) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out.push_back(c);
  }
  return out;
}

// The table entry for `file` (any spelling NormalSkinName accepts), or null.
inline const SkinPicture* FindSkinPicture(std::string_view file) {
  const std::string name = NormalSkinName(file);
  for (const SkinPicture& p : kSkinPictures) {
    if (p.file == name) return &p;
  }
  return nullptr;
}

#pragma once
// The stored records of the settings database, one field per column of the
// same name.  Plain values; any thread.
#include <string>

struct Profile {
  int profile = 0;
  std::wstring name;
  std::wstring app;
  int type = 0;
  int status = 0;  // 1 marks the current profile
};

struct KeyAssignment {
  int key_id = 0;
  int profile = 0;
  int fn_layer = 0;
  int key_code = 0;
  int layout_value = 0;
  std::wstring layout_desc;
  int macro_type = 0;
  int macro_value = 0;
  int macro_value2 = 0;
  int macro_value3 = 0;
  std::wstring macro_desc;
};

struct KeyOtherData {
  int macro_value = 0;  // the row's id
  std::wstring macro_desc;
  std::wstring param;
  int type = 0;
};

struct Macro {
  int macro_id = 0;
  std::wstring name;
  int link_count = 0;
  int play_times = 0;
  int delay_type = 0;
  int delay_time = 0;
};

struct MacroEvent {
  int record_id = 0;
  int macro_id = 0;
  int type = 0;
  int record_index = 0;
  int value = 0;
  int delay_time = 0;
  std::wstring desc;
};

struct LightSetting {
  int light_id = 0;
  int profile = 0;
  std::wstring name;
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  int color_value = 0;
  int config_func = 0;
  int reserved = 0;
  int status = 0;
};

struct KeyLight {
  int keylight_id = 0;
  int profile = 0;
  int light_id = 0;
  int key_code = 0;
  int key_rgb = 0;
};

// `sel` is kept in the table but not read into the record.
struct MusicLayer {
  int layer_id = 0;
  int profile = 0;
  std::wstring name;
  int deviceindex = 0;
  int foremode = 0;
  int fore_amplitude = 0;
  int backmode = 0;
  int backb_right = 0;
};

// The light id of the user's own per-key colours.
constexpr int kUserKeyLightId = 128;
// The macro_type of a key assignment that plays a macro (macro_value = id).
constexpr int kMacroAssignmentType = 3;

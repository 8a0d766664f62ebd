#include "lighting/LightingModel.h"

#include <unordered_map>

#include "device/DeviceTask.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "lighting/LightCapability.h"
#include "lighting/LightingHost.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kLightProfile = 1;
constexpr int kRed = 0x0000FF;

bool IsFeatureFamily(int deviceType) { return deviceType >= 200 && deviceType <= 299; }

}  // namespace

LightingModel::LightingModel(SettingsStore& store, ProtocolState& protocolState, LightingHost& host)
    : m_store(store), m_protocolState(protocolState), m_host(host) {}

void LightingModel::MakeCurrent(int mode) {
  m_store.DbSetCurrentLight(kLightProfile, mode);
  m_currentMode = mode;
  LightSetting light;
  m_capabilities = m_store.DbGetLight(kLightProfile, mode, light) ? light.config_func : 0;
}

bool LightingModel::EnsureLightRows(const DeviceFeatures& features, int deviceType) {
  if (m_store.DbCountLights(kLightProfile) > 0) {
    m_currentMode = m_store.DbGetCurrentLightMode(kLightProfile);
    LightSetting light;
    m_capabilities = m_store.DbGetLight(kLightProfile, m_currentMode, light) ? light.config_func : 0;
    return false;
  }
  for (const auto& entry : features.light_modes) {
    LightSetting light;
    light.profile = kLightProfile;
    light.name = entry.name;
    light.mode = entry.mode;
    light.brightness = features.default_brightness;
    light.speed = features.default_speed;
    light.direction = IsFeatureFamily(deviceType) ? 2 : 0;
    light.colorful = 1;
    light.colorindex = 0;
    light.color_value = kRed;
    light.config_func = entry.attribute;
    m_store.DbAddLight(light);
  }
  MakeCurrent(features.default_mode);
  return true;
}

void LightingModel::QueueLightingWrite(bool onlyWhenIdle) {
  if (onlyWhenIdle && !m_host.IsTaskQueueEmpty()) return;
  m_host.QueueTask(TaskCode(DeviceTask::WriteLighting));
  m_host.ShowWaitDialog();
}

void LightingModel::SelectLightMode(int mode) {
  MakeCurrent(mode);
  m_musicLight = (m_capabilities & LightCapability::PerKeyColours) == 0 &&
                 (m_capabilities & LightCapability::Music) != 0;
  m_screenLight = (m_capabilities & LightCapability::PerKeyColours) == 0 && !m_musicLight &&
                  (m_capabilities & LightCapability::Screen) != 0;
  if (m_musicLight || m_screenLight) {
    m_protocolState.StreamStartPending = true;
    return;
  }
  m_protocolState.LightModeSent = false;
  QueueLightingWrite(false);
}

bool LightingModel::UpdateLightParameter(LightParameter field, int value, bool direct) {
  LightSetting light;
  if (!m_store.DbGetLight(kLightProfile, m_currentMode, light)) return false;
  bool onlyWhenIdle = true;
  bool send = true;
  switch (field) {
    case LightParameter::Brightness:
      light.brightness = value;
      break;
    case LightParameter::Speed:
      light.speed = value;
      break;
    case LightParameter::Direction:
      light.direction = value;
      break;
    case LightParameter::ColourIndex:
      light.colorindex = value;
      break;
    case LightParameter::Colourful:
      light.colorful = value != 0 ? 1 : 0;
      if (!light.colorful && direct) light.color_value = kRed;
      onlyWhenIdle = false;
      break;
    case LightParameter::ColourValue:
      // Choosing a colour ends the multicolour effect.  In a per-key mode
      // the colour is only the brush of the key editor.
      light.color_value = value;
      light.colorful = 0;
      send = (light.config_func & LightCapability::PerKeyColours) == 0;
      break;
  }
  if (!m_store.DbUpdateLight(kLightProfile, m_currentMode, light)) return false;
  if (send) QueueLightingWrite(onlyWhenIdle);
  return true;
}

bool LightingModel::SaveKeyColours() {
  if ((m_capabilities & LightCapability::PerKeyColours) == 0) return false;
  std::vector<KeyLight> rows;
  for (const auto& colour : m_host.PictureColours()) {
    KeyLight row;
    row.profile = kLightProfile;
    row.light_id = kUserColourSet;
    row.key_code = static_cast<int>(colour.code);
    row.key_rgb = static_cast<int>(colour.rgb);
    rows.push_back(row);
  }
  const std::size_t count = rows.size();
  if (m_store.DbReplaceKeyLights(rows) != static_cast<int>(count)) return false;
  m_host.QueueTask(TaskCode(DeviceTask::WriteKeyLights));
  m_host.ShowWaitDialog();
  return true;
}

void LightingModel::ShowColourScheme(int scheme, ReportProtocol& protocol, const ProtocolInputs& inputs,
                                     const KeyboardLayout& layout) {
  ProtocolInputs current = inputs;
  current.lightMode = m_currentMode;
  protocol.SelectColourScheme(current, layout, scheme);
  std::vector<KeyLight> rows;
  m_store.DbListKeyLights(kUserColourSet + scheme, rows);
  std::unordered_map<int, int> stored;
  for (const auto& row : rows) stored[row.key_code] = row.key_rgb;
  auto colours = m_host.PictureColours();
  for (auto& colour : colours) {
    const auto found = stored.find(static_cast<int>(colour.code));
    colour.rgb = found == stored.end() ? 0 : static_cast<std::uint32_t>(found->second);
  }
  m_host.SetPictureColours(colours);
}

std::vector<LightModeEntry> LightingModel::OfferedModes(const std::vector<LightModeEntry>& catalogue,
                                                        int connectionMode) {
  std::vector<LightModeEntry> offered;
  for (const auto& entry : catalogue) {
    if (connectionMode != 0 && entry.attribute == LightCapability::Music) continue;
    offered.push_back(entry);
  }
  return offered;
}

bool LightingModel::PaintsHostDriven(int deviceType, bool lightPageShown, bool windowVisible) const {
  return (m_musicLight || m_screenLight) && deviceType < 200 && lightPageShown && windowVisible;
}

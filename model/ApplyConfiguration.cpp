#include "model/ApplyConfiguration.h"

#include <algorithm>
#include <climits>

void ApplyConfiguration(const Configuration& configuration, ConfigurationSink& sink) {
  std::size_t next = 0;
  for (std::size_t k = 0; k < configuration.keyboards.size(); ++k) {
    const DeviceInfo& keyboard = configuration.keyboards[k];
    sink.AddDevice(keyboard.name, keyboard.device_type);
    const std::size_t modes = k < configuration.mode_counts.size() ? configuration.mode_counts[k] : 0;
    const std::size_t end = std::min(next + modes, configuration.connections.size());
    for (; next < end; ++next) {
      const DeviceInfo& connection = configuration.connections[next];
      sink.AddDeviceEntry(connection.vid, connection.pid, connection.name, connection.device_type, connection.mode,
                          connection.interface_pattern);
    }
  }
  if (configuration.software_found) {
    sink.SetVersionText(L"Ver: " + configuration.software.version);
    if (configuration.copyright_found) sink.SetCopyrightText(configuration.copyright);
  }
  sink.DescribeDeviceType(kInitialDeviceType);
  sink.RegisterDeviceNotifications();
}

void ApplyDeviceDescription(const DescriptionLoad& load, const DeviceFeatures& features,
                            const KeyboardLayout& layout, ConfigurationSink& sink) {
  sink.OpenSettingsStore(features.keyboard_name);
  if (features.current_device_type >= 300 && features.current_device_type <= 399) {
    sink.SetMacroSizeLimit(kSignatureMacroSizeLimit);
  }
  if (!load.loaded) return;
  if (load.menu_found) sink.ShowPages(features.page_flags);
  if (load.firmware_found) {
    sink.ShowFirmwareButton(!features.firmware_version.empty() && !features.firmware_file.empty());
  }
  if (load.light_found) sink.SetLightRanges(features.brightness_max, features.speed_max);

  const int views = features.page_flags & PageFlag::KeyboardViews;
  sink.ClearKeyboards(views);
  if (!load.keyboard_found) return;
  const auto edge = [](int start, int size) {
    return static_cast<int>(std::clamp(static_cast<long long>(start) + size, static_cast<long long>(INT_MIN),
                                       static_cast<long long>(INT_MAX)));
  };
  const KeyRect area{layout.X(), layout.Y(), edge(layout.X(), layout.Width()), edge(layout.Y(), layout.Height())};
  sink.SetKeyboardPicture(views, area, L"keyboard/" + layout.Image(), layout.Width(), layout.Height());
  for (const KeyItem& key : layout.Keys()) sink.AddKeyItem(views, key);
}

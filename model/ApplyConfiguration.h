#pragma once
// Replays what config.xml and a device description mean for the program on a
// ConfigurationSink, in the controller's order.  Call on the UI thread.
#include "model/Configuration.h"
#include "model/ConfigurationSink.h"
#include "model/DeviceDescription.h"

// The device type described when the main window starts.
constexpr int kInitialDeviceType = 101;
// Macro size limit of the signature-protocol keyboards (300-399).
constexpr int kSignatureMacroSizeLimit = 60;

// Device selector and HID registrations keyboard by keyboard, then the
// version and copyright labels, then device type 101 is described and the
// device notifications are registered.
void ApplyConfiguration(const Configuration& configuration, ConfigurationSink& sink);

// Settings store of the keyboard name, the macro limit of the signature
// family, then, when the file loaded: tabs, firmware button, slider ranges,
// and the keyboard pictures (cleared, then filled).
void ApplyDeviceDescription(const DescriptionLoad& load, const DeviceFeatures& features,
                            const KeyboardLayout& layout, ConfigurationSink& sink);

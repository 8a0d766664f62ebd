#pragma once
// The lighting model: which light mode is current, its parameters and the
// user's per-key colours, and which light command each change needs.  Every
// change is stored first and then queued for the worker (WriteLighting,
// WriteKeyLights); the model sends nothing itself except the colour-scheme
// selection, which the UI thread sends directly.
//
// Light rows are shared by all profiles and kept with profile 1.
// Thread rules: UI thread (the light page and the command-line tool).
#include <vector>

#include "device/ProtocolInputs.h"
#include "model/DeviceInfo.h"
#include "store/Records.h"

class SettingsStore;
class LightingHost;
class ReportProtocol;
class KeyboardLayout;
struct ProtocolState;

enum class LightParameter { Brightness, Speed, Direction, ColourIndex, Colourful, ColourValue };

class LightingModel {
 public:
  LightingModel(SettingsStore& store, ProtocolState& protocolState, LightingHost& host);

  // Creates one row per catalogue entry when the store has none and makes
  // the default mode current; otherwise takes the current mode from the
  // store.  True when rows were created.
  bool EnsureLightRows(const DeviceFeatures& features, int deviceType);

  int CurrentMode() const { return m_currentMode; }
  int CurrentCapabilities() const { return m_capabilities; }
  bool MusicLightActive() const { return m_musicLight; }
  bool ScreenLightActive() const { return m_screenLight; }

  // Makes `mode` current and queues what the keyboard needs to hear; a
  // music or screen mode sends nothing until the first streamed frame.
  void SelectLightMode(int mode);

  // Changes one field of the current mode's row and queues WriteLighting.
  // Slider-like parameters queue only when the queue is empty (a waiting
  // task reads the stored row anyway); the multicolour switch always does.
  // `direct` tells a multicolour switch operated by the user, which turns
  // the single colour back to red when it goes off.  False when the current
  // mode has no row.
  bool UpdateLightParameter(LightParameter field, int value, bool direct = true);

  // Stores the keyboard picture's colours as the user-defined set and
  // queues WriteKeyLights.  Only in a mode with per-key colours.
  bool SaveKeyColours();

  // Selects colour scheme `scheme` (0-2) on the keyboard and shows its
  // colours on the picture: every key black, then the stored colours of the
  // scheme's set.
  void ShowColourScheme(int scheme, ReportProtocol& protocol, const ProtocolInputs& inputs,
                        const KeyboardLayout& layout);

  // Modes whose only capability is music light need the cable: they are
  // not offered while the keyboard is connected wirelessly.
  static std::vector<LightModeEntry> OfferedModes(const std::vector<LightModeEntry>& catalogue,
                                                  int connectionMode);
  // Whether the worker paints the picture from music or screen data on its
  // idle step (it streams the colours only over the cable).
  bool PaintsHostDriven(int deviceType, bool lightPageShown, bool windowVisible) const;

 private:
  void MakeCurrent(int mode);
  void QueueLightingWrite(bool onlyWhenIdle);

  SettingsStore& m_store;
  ProtocolState& m_protocolState;
  LightingHost& m_host;
  int m_currentMode = 0;
  int m_capabilities = 0;
  bool m_musicLight = false;
  bool m_screenLight = false;
};

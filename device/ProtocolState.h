#pragma once
// What the report protocol remembers between operations.  Owned by the main
// controller (or the command-line tool) and used only from the worker
// thread, except ColourScheme, which the UI thread's scheme selection sets
// (hence atomic).
#include <atomic>
#include <cstdint>
#include <map>

struct ProtocolState {
  // Key code -> command-protocol macro slot, rebuilt by every WriteMacros.
  std::map<std::uint32_t, int> macroSlots;
  // False after the user picks another light mode: the command protocol
  // then selects the mode (0x88) once instead of sending its parameters.
  bool LightModeSent = true;
  // Set when a music or screen mode is picked: the next frame is preceded
  // by the stream-start report.
  bool StreamStartPending = false;
  // Set when one key's assignment was edited: the feature and signature
  // protocols then send only that key.
  bool SingleKeyPending = false;
  // Profile number last sent with the signature protocol's command 06.
  int LastProfileSent = 1;
  // Colour scheme last selected on the light page (0-2); the feature
  // protocol's light command carries it for modes with per-key colours.
  std::atomic<int> ColourScheme{0};
};

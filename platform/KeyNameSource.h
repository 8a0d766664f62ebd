#pragma once
// Where key names come from: the current keyboard layout's scan code and
// name of a key.  The model names keys through this interface so that it
// never sees the window system; platform/linux/ui implements it with the XKB
// keysym names of the layout in use.
//
// An implementation belongs to the thread that created it (the UI thread for
// the one built on the toolkit's display connection).
#include <memory>
#include <string>

namespace platform {

class KeyNameSource {
 public:
  virtual ~KeyNameSource() = default;

  // Scan code of the virtual key under the current layout (the PC set-1
  // number, without the extended prefix); 0 when the layout has no such key.
  virtual int ScanCode(int virtualKey) const = 0;

  // Name of the key at `scanCode`; `extended` selects the key of the
  // extended block (the arrows and the navigation block against the keypad,
  // right Ctrl and Alt against the left ones).  Empty when there is none.
  virtual std::wstring KeyName(int scanCode, bool extended) const = 0;
};

// A source with its own connection to the display named by $DISPLAY;
// nullptr when no display can be opened.  Implemented in the window-system
// half of the platform layer (libtaviui).
std::unique_ptr<KeyNameSource> CreateKeyNameSource();

}  // namespace platform

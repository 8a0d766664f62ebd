#pragma once
// Key names from the XKB map of an X display: the keysym each key produces
// in the current layout group, shown as its character ("A", "Ö", ";") or as
// its keysym name.  Scan codes are the PC set-1 numbers that the evdev
// keycodes carry (keycode - 8), with the extended block mapped to its own
// keycodes.  Belongs to the thread that owns the display.
#include <memory>
#include <string>

#include "platform/KeyNameSource.h"

struct _XDisplay;

namespace platform {

class XkbKeyNameSource : public KeyNameSource {
 public:
  // Uses `display` without owning it.
  explicit XkbKeyNameSource(_XDisplay* display);
  // Opens a connection of its own to $DISPLAY; Valid() tells whether it did.
  XkbKeyNameSource();
  ~XkbKeyNameSource() override;
  XkbKeyNameSource(const XkbKeyNameSource&) = delete;
  XkbKeyNameSource& operator=(const XkbKeyNameSource&) = delete;

  bool Valid() const { return m_display != nullptr; }

  int ScanCode(int virtualKey) const override;
  std::wstring KeyName(int scanCode, bool extended) const override;

 private:
  _XDisplay* m_display = nullptr;
  bool m_owned = false;
};

}  // namespace platform

#include "platform/SyntheticInput.h"

#include <X11/extensions/XTest.h>

#include "model/VirtualKeys.h"
#include "platform/XKeyTable.h"
#include "platform/linux/ui/WindowSystem.h"

namespace platform {

namespace {
Display* TestDisplay() {
  WindowSystem& system = WindowSystem::Get();
  if (!system.Open()) return nullptr;
  int event, error, major, minor;
  if (!XTestQueryExtension(system.GetDisplay(), &event, &error, &major, &minor)) return nullptr;
  return system.GetDisplay();
}
}  // namespace

bool SynthesizeMouseMove(int screenX, int screenY) {
  Display* d = TestDisplay();
  if (!d) return false;
  XTestFakeMotionEvent(d, -1, screenX, screenY, CurrentTime);
  XFlush(d);
  return true;
}

bool SynthesizeButton(int button, bool down) {
  Display* d = TestDisplay();
  if (!d || button < 1 || button > 7) return false;
  XTestFakeButtonEvent(d, static_cast<unsigned>(button), down ? True : False, CurrentTime);
  XFlush(d);
  return true;
}

bool SynthesizeKey(int virtualKey, bool down) {
  Display* d = TestDisplay();
  if (!d) return false;
  // A modifier without a side is typed with the left one.
  if (virtualKey == VirtualKey::Shift) virtualKey = VirtualKey::LeftShift;
  if (virtualKey == VirtualKey::Control) virtualKey = VirtualKey::LeftControl;
  if (virtualKey == VirtualKey::Menu) virtualKey = VirtualKey::LeftMenu;
  const unsigned code = KeycodeFromVirtualKey(d, virtualKey);
  if (code == 0) return false;
  XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
  XFlush(d);
  return true;
}

}  // namespace platform

#pragma once
// Input made up as if it came from the user's pointer and keyboard (XTest):
// scripted tests and typed-text output drive windows with it.  UI thread.
namespace platform {

bool SynthesizeMouseMove(int screenX, int screenY);
// button: 1 left, 2 middle, 3 right, 4/5 wheel up/down.
bool SynthesizeButton(int button, bool down);
// A key by virtual-key code; false when the keyboard has no such key.
bool SynthesizeKey(int virtualKey, bool down);

}  // namespace platform

#pragma once
// The UI thread's side of the window system: the display connection, the
// message loop, and messages to windows by handle.  Everything here belongs
// to the UI thread (the first thread that opens the display) except
// PostMessage and PostQuitMessage, which are safe from any thread.
#include <string>
#include <vector>

#include "platform/Window.h"
#include "platform/WindowMessages.h"

namespace platform {

// Opens the display named by $DISPLAY once; false when there is none.
bool OpenDisplay();
bool HasDisplay();

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();
void PostQuitMessage(int exitCode);
// Handles every message that is ready, waiting up to timeoutMs for the
// first; false when none came.
bool PumpMessages(int timeoutMs);

intptr_t SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// False only when the message cannot be queued; a message for a window that
// is gone by the time it is handled is dropped.
bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

Window* WindowFromHandle(WindowHandle window);
// The toolkit's windows with exactly this title.
std::vector<WindowHandle> FindWindowsByTitle(const std::wstring& title);
// Posts WM_CLOSE to each of them; returns how many.
int CloseWindowsByTitle(const std::wstring& title);

// Whether the key (a virtual-key code) is down, as last seen by the loop.
bool IsKeyDown(int virtualKey);
// kModifier* bits held now.
unsigned GetModifierState();
Rect GetWorkArea();
Point GetCursorPos();

}  // namespace platform

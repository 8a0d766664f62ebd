#pragma once
// The message record every toolkit window receives, and the numbers the
// toolkit and the application use for messages, styles and show commands.
// The numbers are the ones the design names; they are defined here so that
// callers need no window-system header.
#include <cstdint>

namespace platform {

using WindowHandle = uintptr_t;

struct Message {
  WindowHandle window = 0;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  uint32_t time = 0;      // milliseconds, the server's clock for input
  unsigned modifiers = 0; // kModifier* bits held when the message was made
  bool posted = false;    // came through PostMessage (or the window manager's close)
  int sidedKey = 0;       // key messages: the key with its side (left/right Shift, ...)
};

// Window messages.
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;        // lParam: screen x, y of the window
constexpr uint32_t WM_SIZE = 0x0005;        // wParam: SIZE_*; lParam: client width, height
constexpr uint32_t WM_ACTIVATE = 0x0006;    // wParam: 1 active, 0 inactive
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_PAINT = 0x000F;       // the update rectangle: Window::GetUpdateRect
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_SHOWWINDOW = 0x0018;  // wParam: 1 shown, 0 hidden
constexpr uint32_t WM_NCDESTROY = 0x0082;
constexpr uint32_t WM_NCACTIVATE = 0x0086;  // wParam: 1 active, 0 inactive
constexpr uint32_t WM_KEYDOWN = 0x0100;     // wParam: virtual key; lParam: repeat | scan << 16 | flags
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;        // wParam: the character (a Unicode code point)
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;  // a key pressed with Alt held
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_TIMER = 0x0113;       // wParam: the timer's number
constexpr uint32_t WM_MOUSEMOVE = 0x0200;   // wParam: MK_* bits; lParam: client x, y (signed words)
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;  // wParam: delta << 16 | MK_*; lParam: screen x, y
constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
constexpr uint32_t WM_MOUSEHOVER = 0x02A1;  // lParam: client x, y
constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
constexpr uint32_t WM_USER = 0x0400;

// The toolkit's close request (wParam: the dialog result).
constexpr uint32_t WM_TOOLKIT_CLOSE = 0x0442;
// The application's own messages lie in this range.
constexpr uint32_t kAppMessageFirst = 1090;
constexpr uint32_t kAppMessageLast = 2022;

// Mouse-message key bits (wParam).
constexpr uintptr_t MK_LBUTTON = 0x0001;
constexpr uintptr_t MK_RBUTTON = 0x0002;
constexpr uintptr_t MK_SHIFT = 0x0004;
constexpr uintptr_t MK_CONTROL = 0x0008;
constexpr uintptr_t MK_MBUTTON = 0x0010;

// Message::modifiers bits.
constexpr unsigned kModifierShift = 0x1;
constexpr unsigned kModifierControl = 0x2;
constexpr unsigned kModifierAlt = 0x4;

// One wheel notch.
constexpr int WHEEL_DELTA = 120;
// Hover is reported after the pointer rested this long.
constexpr unsigned kHoverTimeMs = 400;
// A second press within this time (and a few pixels) is a double click.
constexpr unsigned kDoubleClickTimeMs = 500;
constexpr int kDoubleClickDistance = 4;

// WM_SIZE wParam.
constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
constexpr uintptr_t SIZE_MAXIMIZED = 2;

// Window styles the toolkit looks at.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_MINIMIZE = 0x20000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_MAXIMIZE = 0x01000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_DLGFRAME = 0x00400000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;

constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
constexpr uint32_t WS_EX_TRANSPARENT = 0x00000020;
constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr uint32_t WS_EX_LAYERED = 0x00080000;
constexpr uint32_t WS_EX_NOACTIVATE = 0x08000000;

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// Dialog results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr intptr_t MakeLParam(int low, int high) {
  return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(low))) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16));
}
constexpr int LowWord(intptr_t value) { return static_cast<int16_t>(value & 0xFFFF); }
constexpr int HighWord(intptr_t value) { return static_cast<int16_t>((value >> 16) & 0xFFFF); }

// True for the messages a disabled window does not receive.
constexpr bool IsInputMessage(uint32_t message) {
  return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) ||
         (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL) || message == WM_MOUSEHOVER;
}

}  // namespace platform

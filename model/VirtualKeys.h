#pragma once
// The virtual-key numbering in which the host side names keys: recorded macro
// events, combination keys and the key names all use these numbers.  They
// are defined here, by us, so that no platform header is needed; the platform
// layer maps its own key identifiers onto them.
namespace VirtualKey {

constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Clear = 12;  // keypad 5 with Num Lock off
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;  // Alt without a side
constexpr int Pause = 19;
constexpr int Capital = 20;  // Caps Lock
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Prior = 33;  // Page Up
constexpr int Next = 34;   // Page Down
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Select = 41;
constexpr int Print = 42;
constexpr int Execute = 43;
constexpr int Snapshot = 44;  // Print Screen
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48;  // '0'; the digits follow up to '9' = 57
constexpr int Digit1 = 49;
constexpr int Digit9 = 57;
constexpr int LetterA = 65;  // 'A'; the letters follow up to 'Z' = 90
constexpr int LetterZ = 90;
constexpr int LeftWindows = 91;
constexpr int RightWindows = 92;
constexpr int Application = 93;
constexpr int Numpad0 = 96;
constexpr int Numpad1 = 97;
constexpr int Numpad2 = 98;
constexpr int Numpad3 = 99;
constexpr int Numpad4 = 100;
constexpr int Numpad5 = 101;
constexpr int Numpad6 = 102;
constexpr int Numpad7 = 103;
constexpr int Numpad8 = 104;
constexpr int Numpad9 = 105;
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Separator = 108;  // stands for the keypad Enter key
constexpr int Subtract = 109;
constexpr int Decimal = 110;
constexpr int Divide = 111;
constexpr int F1 = 112;
constexpr int F12 = 123;
constexpr int F13 = 124;
constexpr int F24 = 135;
constexpr int International1 = 136;  // 136-139 pass through as key codes
constexpr int International4 = 139;
constexpr int NumLock = 144;
constexpr int ScrollLock = 145;
constexpr int LeftShift = 160;
constexpr int RightShift = 161;
constexpr int LeftControl = 162;
constexpr int RightControl = 163;
constexpr int LeftMenu = 164;  // left Alt
constexpr int RightMenu = 165;  // right Alt
constexpr int BrowserBack = 166;
constexpr int BrowserForward = 167;
constexpr int BrowserRefresh = 168;
constexpr int BrowserStop = 169;
constexpr int BrowserSearch = 170;
constexpr int BrowserFavorites = 171;
constexpr int BrowserHome = 172;
constexpr int VolumeMute = 173;
constexpr int VolumeDown = 174;
constexpr int VolumeUp = 175;
constexpr int MediaNextTrack = 176;
constexpr int MediaPrevTrack = 177;
constexpr int MediaStop = 178;
constexpr int MediaPlayPause = 179;
constexpr int LaunchMail = 180;
constexpr int LaunchMediaSelect = 181;
constexpr int LaunchApp1 = 182;  // "My Computer"
constexpr int LaunchApp2 = 183;  // calculator
constexpr int Oem1 = 186;        // ;:
constexpr int OemPlus = 187;     // =+
constexpr int OemComma = 188;    // ,<
constexpr int OemMinus = 189;    // -_
constexpr int OemPeriod = 190;   // .>
constexpr int Oem2 = 191;        // /?
constexpr int Oem3 = 192;        // `~
constexpr int Oem4 = 219;        // [{
constexpr int Oem5 = 220;        // backslash |
constexpr int Oem6 = 221;        // ]}
constexpr int Oem7 = 222;        // ' "
constexpr int Oem102 = 226;      // the key between left Shift and Z

// The application's own additions, accepted by the key code conversion.
constexpr int Fn = 254;
constexpr int NonUsHash = 666;

}  // namespace VirtualKey

#!/usr/bin/env python3
"""Writes data/layouts/K87.xml, the device description of the Kestrel K87.

The key geometry is an ANSI tenkeyless board measured in key units (u); the
picture is 1000 x 360 pixels.  Every key gets a slot in the key assignment
table (row * 18 + column of its lighting cell) and a colour slot in the
order the LEDs are chained on the board (left to right on even rows, right
to left on odd rows).  Run from the source tree: tools/layout-generator/make_k87_layout.py
"""
import os
import sys

UNIT = 52          # pixels per key unit
MARGIN_X = 25      # (1000 - 18.25 u) / 2
MARGIN_Y = 11      # (360 - 6.5 u) / 2
GAP = 2            # pixels between neighbouring keys, each side
COLUMNS = 18
ROWS = 6

# (code, label, description, x in u, width in u, icon)
F_ROW = [
    (0x29, "Esc", "Escape", 0, 1, ""),
    (0x3A, "F1", "F1", 2, 1, ""), (0x3B, "F2", "F2", 3, 1, ""),
    (0x3C, "F3", "F3", 4, 1, ""), (0x3D, "F4", "F4", 5, 1, ""),
    (0x3E, "F5", "F5", 6.5, 1, ""), (0x3F, "F6", "F6", 7.5, 1, ""),
    (0x40, "F7", "F7", 8.5, 1, ""), (0x41, "F8", "F8", 9.5, 1, ""),
    (0x42, "F9", "F9 / Fn: mute", 11, 1, "key_icon_mute.png"),
    (0x43, "F10", "F10 / Fn: volume down", 12, 1, "key_icon_volume_down.png"),
    (0x44, "F11", "F11 / Fn: volume up", 13, 1, "key_icon_volume_up.png"),
    (0x45, "F12", "F12 / Fn: play or pause", 14, 1, "key_icon_play.png"),
    (0x46, "PrtSc", "Print Screen", 15.25, 1, ""),
    (0x47, "ScrLk", "Scroll Lock", 16.25, 1, ""),
    (0x48, "Pause", "Pause", 17.25, 1, ""),
]

NUMBER_ROW = [(0x35, "`", "Grave accent and tilde", 0, 1, "")]
for i, digit in enumerate("1234567890"):
    NUMBER_ROW.append((0x1E + i, digit, "Digit " + digit, 1 + i, 1, ""))
NUMBER_ROW += [
    (0x2D, "-", "Minus and underscore", 11, 1, ""),
    (0x2E, "=", "Equals and plus", 12, 1, ""),
    (0x2A, "Backspace", "Backspace", 13, 2, ""),
    (0x49, "Ins", "Insert", 15.25, 1, ""),
    (0x4A, "Home", "Home", 16.25, 1, ""),
    (0x4B, "PgUp", "Page Up", 17.25, 1, ""),
]


def letter(c):
    return 0x04 + ord(c) - ord("A")


def letters(text, start):
    return [(letter(c), c, "Letter " + c, start + i, 1, "") for i, c in enumerate(text)]


TOP_ROW = [(0x2B, "Tab", "Tab", 0, 1.5, "")] + letters("QWERTYUIOP", 1.5) + [
    (0x2F, "[", "Left bracket", 11.5, 1, ""),
    (0x30, "]", "Right bracket", 12.5, 1, ""),
    (0x31, "\\", "Backslash", 13.5, 1.5, ""),
    (0x4C, "Del", "Delete", 15.25, 1, ""),
    (0x4D, "End", "End", 16.25, 1, ""),
    (0x4E, "PgDn", "Page Down", 17.25, 1, ""),
]

HOME_ROW = [(0x39, "Caps Lock", "Caps Lock", 0, 1.75, "")] + letters("ASDFGHJKL", 1.75) + [
    (0x33, ";", "Semicolon", 10.75, 1, ""),
    (0x34, "'", "Apostrophe", 11.75, 1, ""),
    (0x28, "Enter", "Enter", 12.75, 2.25, ""),
]

BOTTOM_ROW = [(0xE1, "Shift", "Left Shift", 0, 2.25, "")] + letters("ZXCVBNM", 2.25) + [
    (0x36, ",", "Comma", 9.25, 1, ""),
    (0x37, ".", "Period", 10.25, 1, ""),
    (0x38, "/", "Slash", 11.25, 1, ""),
    (0xE5, "Shift", "Right Shift", 12.25, 2.75, ""),
    (0x52, "", "Up", 16.25, 1, "key_icon_up.png"),
]

SPACE_ROW = [
    (0xE0, "Ctrl", "Left Ctrl", 0, 1.25, ""),
    (0xE3, "", "Left Windows", 1.25, 1.25, "key_icon_windows.png"),
    (0xE2, "Alt", "Left Alt", 2.5, 1.25, ""),
    (0x2C, "", "Space", 3.75, 6.25, ""),
    (0xE6, "Alt", "Right Alt", 10, 1.25, ""),
    (0xAF, "Fn", "Fn", 11.25, 1.25, ""),
    (0x65, "", "Application", 12.5, 1.25, "key_icon_menu.png"),
    (0xE4, "Ctrl", "Right Ctrl", 13.75, 1.25, ""),
    (0x50, "", "Left", 15.25, 1, "key_icon_left.png"),
    (0x51, "", "Down", 16.25, 1, "key_icon_down.png"),
    (0x4F, "", "Right", 17.25, 1, "key_icon_right.png"),
]

BOARD = [F_ROW, NUMBER_ROW, TOP_ROW, HOME_ROW, BOTTOM_ROW, SPACE_ROW]

# Light modes: (display text id, mode number, capability bits, English text).  The text ids
# are the entries of the language files' "KB.DIALOG" section.
LIGHT_MODES = [
    (801, 1, 0x051, "Static"),   # static colour: brightness, RGB editor, preset colours
    (802, 2, 0x073, "Breathing"),   # breathing
    (803, 3, 0x027, "Wave"),   # wave, left or right
    (804, 4, 0x02B, "Rain"),   # rain, up or down
    (805, 5, 0x033, "Ripple"),   # ripple
    (806, 6, 0x063, "Reactive"),   # reactive
    (807, 7, 0x003, "Colour cycle"),   # colour cycle
    (808, 8, 0x007, "Rainbow swirl"),   # rainbow swirl
    (809, 9, 0x073, "Starlight"),   # starlight
    (810, 10, 0x04B, "Raindrops"),  # raindrops
    (811, 11, 0x017, "Snake"),  # snake
    (812, 12, 0x023, "Cross"),  # cross
    (813, 13, 0x047, "Aurora"),  # aurora
    (814, 14, 0x101, "Custom"),  # per-key colours
    (815, 15, 0x200, "Music"),  # music (spectrum from the computer)
    (816, 16, 0x203, "Music rhythm"),  # music with brightness and speed
    (817, 17, 0x400, "Screen colours"),  # screen colours
    (818, 18, 0x000, "Off"),  # lights off
]


def column_of(x, width):
    """Lighting column: the 18 columns split the board's 18.25 units evenly."""
    centre = x + width / 2
    return min(COLUMNS - 1, int(centre * COLUMNS / 18.25))


def attr(text):
    return (text.replace("&", "&amp;").replace('"', "&quot;")
            .replace("<", "&lt;").replace(">", "&gt;"))


def main():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<device.info>",
             '  <menu macro="1" light_mode="1"/>',
             '  <function sleep_time="1"/>',
             '  <firmware version="1.0.2" file="K87Updater"'
             ' url="https://kestrel.example/firmware/k87-updater-1.0.2.zip"/>',
             '  <light rgb_keyboard="1" default_mode="3" default_brightness="4"'
             ' default_speed="3" brightness_max="4" speed_max="4">']
    for name, mode, attribute, english in LIGHT_MODES:
        lines.append('    <info name="%d" mode="%d" attribute="%d"/> <!-- %s -->'
                     % (name, mode, attribute, english))
    lines.append("  </light>")
    lines.append('  <Keyboard xpos="20" ypos="120" width="1000" height="360" image="k87.png"'
                 ' row_count="%d" col_count="%d">' % (ROWS, COLUMNS))
    lines.append("    <KeyItems>")
    used = set()
    count = 0
    for row, keys in enumerate(BOARD):
        for code, label, desc, x, width, icon in keys:
            col = column_of(x, width)
            if (row, col) in used:
                sys.exit("two keys on cell %d,%d" % (row, col))
            used.add((row, col))
            key_index = row * COLUMNS + col
            light_index = row * COLUMNS + (col if row % 2 == 0 else COLUMNS - 1 - col)
            left = MARGIN_X + round(x * UNIT) + GAP
            top = MARGIN_Y + round((row + (0.5 if row > 0 else 0)) * UNIT) + GAP
            w = round(width * UNIT) - 2 * GAP
            h = UNIT - 2 * GAP
            lines.append('      <key code="%02X" name="%s" desc="%s" key_index="%d" light_index="%d"'
                         ' icon="%s" row_col="%d,%d" rect="%d#%d#%d#%d"/>'
                         % (code, attr(label), attr(desc), key_index, light_index, icon,
                            row, col, left, top, w, h))
            count += 1
    lines.append("    </KeyItems>")
    lines.append("  </Keyboard>")
    lines.append("</device.info>")
    if count != 87:
        sys.exit("expected 87 keys, made %d" % count)
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    with open(os.path.join(root, "data", "layouts", "K87.xml"), "w", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()

#include "platform/linux/ui/FallbackKeyMap.h"

#include <X11/keysym.h>

namespace {
struct KeyPair {
  KeySym keysym;
  int vk;
};
constexpr KeyPair kKeys[] = {
    {XK_BackSpace, 8},  {XK_Tab, 9},         {XK_ISO_Left_Tab, 9}, {XK_Return, 13},   {XK_KP_Enter, 13},
    {XK_Shift_L, 16},   {XK_Shift_R, 16},    {XK_Control_L, 17},   {XK_Control_R, 17}, {XK_Alt_L, 18},
    {XK_Alt_R, 18},     {XK_Pause, 19},      {XK_Caps_Lock, 20},   {XK_Escape, 27},   {XK_space, 32},
    {XK_Prior, 33},     {XK_Next, 34},       {XK_End, 35},         {XK_Home, 36},     {XK_Left, 37},
    {XK_Up, 38},        {XK_Right, 39},      {XK_Down, 40},        {XK_Print, 44},    {XK_Insert, 45},
    {XK_Delete, 46},    {XK_Super_L, 91},    {XK_Super_R, 92},     {XK_Menu, 93},
};
}  // namespace

namespace fallback_keys {

int VirtualKeyFromKeysym(KeySym keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>('A' + (keysym - XK_A));
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>('0' + (keysym - XK_0));
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<int>(96 + (keysym - XK_KP_0));
  if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<int>(112 + (keysym - XK_F1));
  for (const KeyPair& pair : kKeys) {
    if (pair.keysym == keysym) return pair.vk;
  }
  return 0;
}

KeySym KeysymFromVirtualKey(int vk) {
  if (vk >= 'A' && vk <= 'Z') return XK_a + (vk - 'A');
  if (vk >= '0' && vk <= '9') return XK_0 + (vk - '0');
  if (vk >= 96 && vk <= 105) return XK_KP_0 + (vk - 96);
  if (vk >= 112 && vk <= 135) return XK_F1 + (vk - 112);
  for (const KeyPair& pair : kKeys) {
    if (pair.vk == vk) return pair.keysym;
  }
  return NoSymbol;
}

}  // namespace fallback_keys

#include "UdevRules.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned kStreamInterface = 3;
constexpr unsigned kDefaultVendorInterface = 2;

bool ParseHexId(std::string text, unsigned& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = text.substr(2);
  if (text.empty() || text.size() > 4) return false;
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(text.c_str(), &end, 16);
  if (end == nullptr || *end != '\0' || parsed == 0 || parsed > 0xFFFF) return false;
  value = static_cast<unsigned>(parsed);
  return true;
}

// The interface number in "VID_xxxx&PID_xxxx&MI_nn" (hex), if there is one.
bool InterfaceFromPattern(const std::string& pattern, unsigned& number) {
  std::string upper = pattern;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const size_t at = upper.find("&MI_");
  if (at == std::string::npos || at + 6 > upper.size()) return false;
  unsigned value = 0;
  for (size_t i = at + 4; i < at + 6; ++i) {
    const char c = upper[i];
    if (c >= '0' && c <= '9') value = value * 16 + static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') value = value * 16 + static_cast<unsigned>(c - 'A' + 10);
    else return false;
  }
  number = value;
  return true;
}

// Text from config.xml lands in comments only, and never with a line break
// that would let it start a rule of its own.
std::string CommentText(const std::string& text) {
  std::string clean;
  for (unsigned char c : text) clean.push_back(c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c));
  return clean;
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  return text;
}

}  // namespace

bool ReadRuleModes(const std::string& configPath, std::vector<RuleMode>& modes, std::string& problems) {
  pugi::xml_document document;
  if (!document.load_file(configPath.c_str())) return false;
  const pugi::xml_node catalogue = document.child("config").child("device.info");
  for (pugi::xml_node keyboard : catalogue.children("keyboard")) {
    for (pugi::xml_node element : keyboard.children("mode")) {
      RuleMode mode;
      mode.keyboardName = keyboard.attribute("name").as_string();
      mode.description = element.attribute("desc").as_string();
      mode.mode = element.attribute("value").as_int();
      if (!ParseHexId(element.attribute("vid").as_string(), mode.vid) ||
          !ParseHexId(element.attribute("pid").as_string(), mode.pid)) {
        problems += "mode " + std::to_string(mode.mode) + " of \"" + CommentText(mode.keyboardName) +
                    "\": vid or pid is not a hexadecimal id\n";
        continue;
      }
      unsigned vendorInterface = kDefaultVendorInterface;
      InterfaceFromPattern(element.attribute("hid_interface").as_string(), vendorInterface);
      mode.interfaces = {vendorInterface};
      if (vendorInterface != kStreamInterface) mode.interfaces.push_back(kStreamInterface);
      std::sort(mode.interfaces.begin(), mode.interfaces.end());
      modes.push_back(mode);
    }
  }
  return true;
}

std::string FormatUdevRules(const std::vector<RuleMode>& modes) {
  std::string text =
      "# Kestrel: lets the user at the seat open the keyboard's vendor HID\n"
      "# interfaces.  Generated from config.xml by the build; install with\n"
      "# `make install-udev`.  Only the vendor and stream interfaces are named:\n"
      "# the typing (boot keyboard) interface stays closed to user programs.\n"
      "ACTION==\"remove\", GOTO=\"kestrel_end\"\n"
      "SUBSYSTEM!=\"hidraw\", GOTO=\"kestrel_end\"\n"
      "IMPORT{builtin}=\"usb_id\"\n";
  for (const RuleMode& mode : modes) {
    std::string interfaces;
    for (unsigned number : mode.interfaces) {
      if (!interfaces.empty()) interfaces += "|";
      interfaces += Hex(number, 2);
    }
    text += "\n# " + CommentText(mode.keyboardName) + ", mode " + std::to_string(mode.mode);
    if (!mode.description.empty()) text += " (" + CommentText(mode.description) + ")";
    text += "\nATTRS{idVendor}==\"" + Hex(mode.vid, 4) + "\", ATTRS{idProduct}==\"" + Hex(mode.pid, 4) +
            "\", ENV{ID_USB_INTERFACE_NUM}==\"" + interfaces + "\", TAG+=\"uaccess\"\n";
  }
  text += "\nLABEL=\"kestrel_end\"\n";
  return text;
}

#include "Help.h"

#include <cstdio>
#include <vector>

namespace {

struct HelpEntry {
  const char* group;
  const char* sub;  // empty: the group is the command
  const char* usage;
  const char* text;
};

const std::vector<HelpEntry>& Entries() {
  static const std::vector<HelpEntry> entries = {
      {"devices", "", "devices [--json]",
       "The keyboards of config.xml, whether each is connected and in which mode\n"
       "(wired, wireless 1, wireless 2). A keyboard this user may not open is\n"
       "reported as \"present but not accessible\" with the fix (the udev rule)."},
      {"profiles", "list", "profiles list [--json]",
       "Every profile with its id and the name the program shows; * marks the\n"
       "current one. A fresh store gets the three default profiles."},
      {"profiles", "add", "profiles add [NAME]",
       "Adds a profile (at most 200). Without NAME it gets the next free\n"
       "generated name. Blocked names are refused (exit 4)."},
      {"profiles", "rename", "profiles rename ID NAME",
       "Renames a profile. Empty and blocked names are refused (exit 4)."},
      {"profiles", "delete", "profiles delete ID",
       "Deletes a profile with its key assignments; the last one is kept\n"
       "(exit 4). Deleting the current profile makes the first other one current."},
      {"profiles", "select", "profiles select ID",
       "Makes a profile current and sends its key assignments to the keyboard."},
      {"keys", "show", "keys show [PROFILE] [--json]",
       "Every assigned key of a profile (default: the current one) with the\n"
       "assignment's type and description."},
      {"keys", "set", "keys set KEY FUNCTION",
       "Gives KEY a function of the key function list: a key label (\"A\", \"F5\",\n"
       "\"Space\", \"Esc\"), a media or application name (mute, volume-up,\n"
       "volume-down, play-pause, stop, previous, next, media-player, my-computer,\n"
       "calculator, email, web-home, web-refresh, web-stop, web-back, web-forward,\n"
       "favorites, web-search) or its code (decimal or 0x hex). At most 12 such\n"
       "assignments per profile (exit 4). KEY is a key label or key code; the Fn\n"
       "key cannot be assigned."},
      {"keys", "disable", "keys disable KEY", "Makes KEY do nothing."},
      {"keys", "macro", "keys macro KEY MACRO",
       "Makes KEY play macro MACRO (its id). At most 12 macro or shortcut\n"
       "assignments per profile; an empty macro is refused (exit 4)."},
      {"keys", "shortcut", "keys shortcut KEY N", "Makes KEY play built-in shortcut N (1-15)."},
      {"keys", "restore", "keys restore KEY", "Removes KEY's assignment: the key does its default again."},
      {"macros", "list", "macros list [--json]", "Every macro with its id, name, play count, delay and events."},
      {"macros", "show", "macros show ID [--json]", "One macro with each of its events."},
      {"macros", "add", "macros add [NAME]", "Adds an empty macro; without NAME it gets a generated name."},
      {"macros", "rename", "macros rename ID NAME", "Renames a macro (and the tips of the keys that play it)."},
      {"macros", "copy", "macros copy ID", "Copies a macro with all its events."},
      {"macros", "delete", "macros delete ID", "Deletes a macro and every key assignment that plays it."},
      {"macros", "import", "macros import FILE", "Adds the macro of an exchange file, named after the file."},
      {"macros", "export", "macros export ID FILE", "Writes a macro to an exchange file."},
      {"macros", "set-playback", "macros set-playback ID [--times N] [--delay recorded|none|fixed[:MS]]",
       "How a macro plays: N times (clamped to 1-99) with the recorded delays,\n"
       "none, or a fixed delay of MS milliseconds (default 10)."},
      {"light", "modes", "light modes [--json]",
       "The keyboard's light modes with their numbers and parameters; * marks\n"
       "the current one."},
      {"light", "set", "light set MODE [--brightness N] [--speed N] [--direction left|right]\n"
       "          [--color RRGGBB] [--preset N] [--colorful on|off]",
       "Makes MODE (number or name) current and sets the parameters given. Only\n"
       "the parameters the mode offers are accepted (see 'light modes')."},
      {"light", "keys", "light keys KEY=RRGGBB ...",
       "Per-key colours, in a mode with per-key colours (e.g. Custom)."},
      {"light", "scheme", "light scheme N", "Selects colour scheme N (0-2) on the keyboard; needs the keyboard."},
      {"profile", "export", "profile export ID FILE", "Writes a profile's keys and their macros to an exchange file."},
      {"profile", "import", "profile import FILE",
       "Adds the profile of an exchange file with its macros and makes it current."},
      {"apply", "", "apply",
       "Sends the current profile's key assignments (with macros) and the current\n"
       "lighting to the keyboard. Exit 3 when it is absent or not accessible."},
      {"reset", "", "reset", "Sends the keyboard back to its defaults. Exit 3 when it is absent."},
  };
  return entries;
}

void PrintEntry(const HelpEntry& entry) {
  std::printf("usage: kestrelctl %s\n%s\n", entry.usage, entry.text);
}

}  // namespace

bool PrintHelp(const std::string& group, const std::string& sub) {
  if (group.empty()) {
    std::printf(
        "kestrelctl: the Kestrel keyboard from the command line\n\n"
        "usage: kestrelctl [--json] [--lang ID] COMMAND ...\n\ncommands:\n");
    for (const auto& entry : Entries()) std::printf("  %s\n", entry.usage);
    std::printf(
        "\n--json prints listings as JSON; --lang ID picks the language file (1033, 1055).\n"
        "Every change is stored in the program's settings and sent to the keyboard\n"
        "at once when it is connected; otherwise 'kestrelctl apply' sends it later.\n"
        "Exit codes: 0 done, 1 bad usage, 2 not found, 3 keyboard absent or not\n"
        "accessible, 4 refused by a rule. 'kestrelctl COMMAND --help' for details.\n");
    return true;
  }
  bool found = false;
  for (const auto& entry : Entries()) {
    if (group != entry.group) continue;
    if (!sub.empty() && sub != entry.sub) continue;
    if (found) std::printf("\n");
    PrintEntry(entry);
    found = true;
  }
  return found;
}

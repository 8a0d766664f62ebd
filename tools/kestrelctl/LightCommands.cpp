// light modes | set | keys | scheme.
#include <algorithm>
#include <cwctype>

#include "Commands.h"
#include "KeyNames.h"
#include "Output.h"
#include "Session.h"
#include "lighting/LightCapability.h"

namespace {

std::wstring ModeName(Session& session, const LightModeEntry& entry) {
  const auto id = ParseNumber(Utf8(entry.name));
  const std::wstring text = id ? session.Text(*id) : std::wstring();
  return text.empty() ? entry.name : text;
}

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return text;
}

nlohmann::json Parameters(int attribute) {
  nlohmann::json list = nlohmann::json::array();
  if (attribute & LightCapability::Brightness) list.push_back("brightness");
  if (attribute & LightCapability::Speed) list.push_back("speed");
  if (attribute & LightCapability::DirectionLeftRight) list.push_back("direction");
  if (attribute & LightCapability::ColourRgb) list.push_back("color");
  if (attribute & LightCapability::ColourfulSwitch) list.push_back("colorful");
  if (attribute & LightCapability::PresetColour) list.push_back("preset");
  if (attribute & LightCapability::PerKeyColours) list.push_back("keys");
  if (attribute & LightCapability::Music) list.push_back("music");
  if (attribute & LightCapability::Screen) list.push_back("screen");
  return list;
}

ExitCode Modes(Session& session, const Arguments& args) {
  const int current = session.Lighting().CurrentMode();
  nlohmann::json list = nlohmann::json::array();
  for (const auto& entry : session.Features().light_modes) {
    const nlohmann::json parameters = Parameters(entry.attribute);
    if (args.Json()) {
      list.push_back({{"mode", entry.mode},
                      {"name", Utf8(ModeName(session, entry))},
                      {"capabilities", entry.attribute},
                      {"parameters", parameters},
                      {"current", entry.mode == current}});
      continue;
    }
    std::string words;
    for (const auto& p : parameters) words += (words.empty() ? "" : ",") + p.get<std::string>();
    PrintData(std::wstring(entry.mode == current ? L"* " : L"  ") + std::to_wstring(entry.mode) + L"\t" +
              ModeName(session, entry) + L"\t" + Wide(words));
  }
  if (args.Json()) PrintJson(list);
  return ExitCode::Done;
}

const LightModeEntry* FindMode(Session& session, const std::string& word) {
  const auto number = ParseNumber(word);
  for (const auto& entry : session.Features().light_modes) {
    if (number ? entry.mode == *number : Lower(ModeName(session, entry)) == Lower(Wide(word))) return &entry;
  }
  return nullptr;
}

// "RRGGBB" (optionally with '#') to the stored colour layout, 0x00BBGGRR.
std::optional<int> ParseColour(std::string text) {
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  const int rgb = static_cast<int>(std::stoul(text, nullptr, 16));
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

struct Change {
  LightParameter field;
  int value;
};

ExitCode Set(Session& session, const Arguments& args) {
  const LightModeEntry* mode = FindMode(session, args.Word(2));
  if (mode == nullptr) return NotFound("light mode " + args.Word(2));
  const int caps = mode->attribute;
  const DeviceFeatures& features = session.Features();
  const std::string command = "light set";
  std::vector<Change> changes;
  auto refuse = [&](const std::string& option) {
    return UsageError("light mode " + Utf8(ModeName(session, *mode)) + " has no " + option +
                          " (it takes: " + Parameters(caps).dump() + ")",
                      command);
  };
  auto ranged = [&](const char* name, int capability, int maximum, LightParameter field) -> std::optional<ExitCode> {
    const auto text = args.Option(name);
    if (!text) return std::nullopt;
    if (!(caps & capability)) return refuse(std::string("--") + name);
    const auto value = ParseNumber(*text);
    if (!value || *value < 0 || *value > maximum) {
      return UsageError(std::string("--") + name + " is 0 to " + std::to_string(maximum), command);
    }
    changes.push_back({field, *value});
    return std::nullopt;
  };
  if (const auto text = args.Option("color")) {
    if (!(caps & LightCapability::ColourRgb)) return refuse("--color");
    const auto colour = ParseColour(*text);
    if (!colour) return UsageError("--color is RRGGBB, six hexadecimal digits", command);
    changes.push_back({LightParameter::ColourValue, *colour});
  }
  if (auto failed = ranged("preset", LightCapability::PresetColour, 7, LightParameter::ColourIndex)) return *failed;
  if (const auto text = args.Option("colorful")) {
    if (!(caps & LightCapability::ColourfulSwitch)) return refuse("--colorful");
    if (*text != "on" && *text != "off") return UsageError("--colorful is on or off", command);
    changes.push_back({LightParameter::Colourful, *text == "on" ? 1 : 0});
  }
  if (auto failed = ranged("brightness", LightCapability::Brightness, features.brightness_max,
                           LightParameter::Brightness)) {
    return *failed;
  }
  if (auto failed = ranged("speed", LightCapability::Speed, features.speed_max, LightParameter::Speed)) {
    return *failed;
  }
  if (const auto text = args.Option("direction")) {
    if (!(caps & LightCapability::DirectionLeftRight)) return refuse("--direction");
    if (*text != "left" && *text != "right") return UsageError("--direction is left or right", command);
    // The feature protocol numbers the two directions from 1.
    const bool feature = FamilyOfDeviceType(session.DeviceType()) == ProtocolFamily::Feature;
    changes.push_back({LightParameter::Direction, (*text == "right" ? 1 : 0) + (feature ? 1 : 0)});
  }

  if (session.Connected()) {
    const auto offered = LightingModel::OfferedModes(features.light_modes, session.Detect().connectionMode);
    if (std::find(offered.begin(), offered.end(), *mode) == offered.end()) {
      PrintMessage("light mode " + Utf8(ModeName(session, *mode)) + " needs the keyboard's cable");
      return ExitCode::Refused;
    }
  }
  LightingModel& lighting = session.Lighting();
  lighting.SelectLightMode(mode->mode);
  // The mode goes first (0x88); its parameters follow in one write (0x89).
  session.Flush();
  for (const auto& change : changes) lighting.UpdateLightParameter(change.field, change.value);
  if (lighting.MusicLightActive() || lighting.ScreenLightActive()) {
    PrintMessage("this mode is painted from the computer: it shows while the Kestrel program runs");
  }
  return ExitCode::Done;
}

ExitCode Keys(Session& session, const Arguments& args) {
  LightingModel& lighting = session.Lighting();
  if (!(lighting.CurrentCapabilities() & LightCapability::PerKeyColours)) {
    PrintMessage("the current light mode has no per-key colours; choose one that has (see 'light modes')");
    return ExitCode::Refused;
  }
  std::vector<KeyColour> picture = session.PictureColours();
  for (size_t i = 2; i < args.WordCount(); ++i) {
    const std::string word = args.Word(i);
    const auto equals = word.rfind('=');
    if (equals == std::string::npos || equals == 0) return UsageError("'" + word + "' is not KEY=RRGGBB", "light keys");
    const auto key = ResolveKey(session.Layout(), word.substr(0, equals));
    if (!key) return NotFound("key " + word.substr(0, equals));
    const auto colour = ParseColour(word.substr(equals + 1));
    if (!colour) return UsageError("'" + word.substr(equals + 1) + "' is not RRGGBB", "light keys");
    for (auto& entry : picture) {
      if (static_cast<int>(entry.code) == *key) entry.rgb = static_cast<std::uint32_t>(*colour);
    }
  }
  session.SetPictureColours(picture);
  if (!lighting.SaveKeyColours()) {
    PrintMessage("the settings database could not store the colours; nothing changed");
    return ExitCode::BadUsage;
  }
  return ExitCode::Done;
}

ExitCode Scheme(Session& session, const Arguments& args) {
  const auto scheme = ParseNumber(args.Word(2));
  if (!scheme || *scheme < 0 || *scheme > 2) return UsageError("the colour scheme is 0, 1 or 2", "light scheme");
  LightingModel& lighting = session.Lighting();
  if (!(lighting.CurrentCapabilities() & LightCapability::PerKeyColours)) {
    PrintMessage("colour schemes belong to a light mode with per-key colours; choose one first");
    return ExitCode::Refused;
  }
  if (!session.RequireKeyboard()) return ExitCode::NoKeyboard;
  lighting.ShowColourScheme(*scheme, session.Protocol(), session.Inputs(), session.Layout());
  PrintMessage("colour scheme " + std::to_string(*scheme) + " sent to the keyboard");
  return ExitCode::Done;
}

}  // namespace

ExitCode RunLight(Session& session, const Arguments& args) {
  const std::string sub = args.Word(1);
  ExitCode code{};
  if (sub == "modes") {
    if (!CheckUsage(args, 2, 2, {}, code)) return code;
    return Modes(session, args);
  }
  if (sub == "set") {
    if (!CheckUsage(args, 3, 3, {"brightness", "speed", "direction", "color", "preset", "colorful"}, code)) {
      return code;
    }
    return Set(session, args);
  }
  if (sub == "keys") {
    if (!CheckUsage(args, 3, 1000, {}, code)) return code;
    return Keys(session, args);
  }
  if (sub == "scheme") {
    if (!CheckUsage(args, 3, 3, {}, code)) return code;
    return Scheme(session, args);
  }
  return UsageError(sub.empty() ? "light needs a subcommand" : "unknown subcommand 'light " + sub + "'", "light");
}

// devices, apply, reset: what is connected, and the commands that need it.
#include "Commands.h"
#include "Output.h"
#include "Session.h"
#include "device/DeviceTask.h"
#include "lighting/LightCapability.h"

bool CheckUsage(const Arguments& args, size_t minWords, size_t maxWords, const std::set<std::string>& options,
                ExitCode& code) {
  const std::string command = args.Word(0) + (args.WordCount() > 1 && maxWords > 1 ? " " + args.Word(1) : "");
  const auto unexpected = args.UnexpectedOptions(options);
  if (!unexpected.empty()) {
    code = UsageError(unexpected.front() + " does not apply here", command);
    return false;
  }
  if (args.WordCount() < minWords || args.WordCount() > maxWords) {
    code = UsageError(args.WordCount() < minWords ? "missing arguments" : "too many arguments", command);
    return false;
  }
  return true;
}

namespace {

std::string ModeName(int mode) {
  switch (mode) {
    case 0:
      return "wired";
    case 1:
      return "wireless 1";
    case 2:
      return "wireless 2";
    default:
      return "none";
  }
}

}  // namespace

ExitCode RunDevices(Session& session, const Arguments& args) {
  ExitCode code{};
  if (!CheckUsage(args, 1, 1, {}, code)) return code;
  const PresenceState& state = session.Detect();
  const auto& config = session.Config();
  nlohmann::json keyboards = nlohmann::json::array();
  size_t connection = 0;
  for (size_t k = 0; k < config.keyboards.size(); ++k) {
    const DeviceInfo& keyboard = config.keyboards[k];
    const size_t modes = k < config.mode_counts.size() ? config.mode_counts[k] : 0;
    nlohmann::json modeList = nlohmann::json::array();
    std::vector<std::string> connectedModes;
    for (size_t m = 0; m < modes && connection < config.connections.size(); ++m, ++connection) {
      const DeviceInfo& entry = config.connections[connection];
      const bool connected = session.ConnectionIs(connection);
      char ids[32];
      std::snprintf(ids, sizeof ids, "%04X:%04X", entry.vid, entry.pid);
      modeList.push_back({{"mode", entry.mode}, {"name", ModeName(entry.mode)}, {"usb_id", ids},
                          {"connected", connected}});
      if (connected) connectedModes.push_back(ModeName(entry.mode));
    }
    // Only the program's own keyboard is detected; it is the first one.
    const bool own = k == 0;
    const DeviceStatus status = own ? state.status : DeviceStatus::Absent;
    nlohmann::json item = {{"name", Utf8(keyboard.name)},
                           {"device_type", keyboard.device_type},
                           {"status", Utf8(DescribeStatus(status))},
                           {"connection_mode", own && status == DeviceStatus::Present ? state.connectionMode : -1},
                           {"modes", modeList}};
    nlohmann::json blocked = nlohmann::json::array();
    if (own) {
      for (const auto& interface : state.inaccessible) {
        blocked.push_back({{"path", interface.path}, {"interface", Utf8(interface.interfaceId)}});
      }
    }
    item["inaccessible"] = blocked;
    if (status == DeviceStatus::PresentNotAccessible) item["fix"] = "sudo make install-udev";
    keyboards.push_back(item);
    if (!args.Json()) {
      std::wstring line = keyboard.name + L" (device type " + std::to_wstring(keyboard.device_type) + L"): " +
                          DescribeStatus(status);
      if (status == DeviceStatus::Present) line += L", " + Wide(ModeName(state.connectionMode));
      for (const auto& mode : connectedModes) {
        if (mode != ModeName(state.connectionMode)) line += L" (also " + Wide(mode) + L")";
      }
      PrintData(line);
    }
  }
  if (args.Json()) {
    PrintJson({{"keyboards", keyboards}});
  }
  if (state.status == DeviceStatus::PresentNotAccessible) session.RequireKeyboard();
  return ExitCode::Done;
}

ExitCode RunApply(Session& session, const Arguments& args) {
  ExitCode code{};
  if (!CheckUsage(args, 1, 1, {}, code)) return code;
  if (!session.RequireKeyboard()) return ExitCode::NoKeyboard;
  LightingModel& lighting = session.Lighting();
  session.MarkSendOnly();
  session.QueueTask(TaskCode(DeviceTask::WriteKeyAssignments));
  // The mode first (the keyboard then starts it), then its parameters.
  session.Protocol().State().LightModeSent = false;
  session.QueueTask(TaskCode(DeviceTask::WriteLighting));
  session.QueueTask(TaskCode(DeviceTask::WriteLighting));
  if (lighting.CurrentCapabilities() & LightCapability::PerKeyColours) {
    session.QueueTask(TaskCode(DeviceTask::WriteKeyLights));
  }
  return ExitCode::Done;
}

ExitCode RunReset(Session& session, const Arguments& args) {
  ExitCode code{};
  if (!CheckUsage(args, 1, 1, {}, code)) return code;
  if (!session.RequireKeyboard()) return ExitCode::NoKeyboard;
  session.MarkSendOnly();
  session.QueueTask(TaskCode(DeviceTask::ResetDevice));
  return ExitCode::Done;
}

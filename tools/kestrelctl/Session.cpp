#include "Session.h"

#include <cstdio>
#include <filesystem>

#include "Arguments.h"
#include "Output.h"
#include "app/AppContext.h"
#include "app/Language.h"
#include "app/Registry.h"
#include "app/Startup.h"
#include "device/DeviceTask.h"
#include "model/DeviceDescription.h"
#include "model/NameRules.h"
#include "platform/TextConvert.h"
#include "platform/UiLanguage.h"
#include "toolkit/core/Manager.h"

namespace {

constexpr int kProfileWordText = 65;
constexpr int kMacroWordText = 331;
// The program's worker rests this long after each write task, so that
// successive writes do not crowd the keyboard.
constexpr int kPauseAfterWrite = 100;

}  // namespace

Session::Session() = default;

Session::~Session() {
  m_presence.reset();
  m_link.CloseAll();
  m_store.Close();
}

bool Session::Open(int language) {
  std::wstring folder = ModuleFolder();
  if (!folder.empty() && folder.back() != L'/') folder += L'/';
  m_languageFolder = folder + L"language/";

  // The same names as the program's start-up, so that both use one
  // database: the software name picks the user data folder.
  const std::wstring software = ReadSoftwareName(folder);
  if (!software.empty()) Manager::SetDeviceName(software);

  if (language != 0) {
    if (!std::filesystem::exists(Utf8(m_languageFolder + std::to_wstring(language) + L".lan"))) {
      PrintMessage("no language file " + std::to_string(language) + ".lan in " + Utf8(m_languageFolder));
      return false;
    }
    LanguageId = language;
  } else {
    // The program's language without the first-run step that stores one.
    LanguageId = ChooseLanguage(ReadStoredLanguage(), platform::UserDefaultUILanguage()).inUse;
  }

  m_configuration = ReadConfiguration(folder);
  if (m_configuration.keyboards.empty()) {
    PrintMessage("config.xml in " + Utf8(folder) + " is missing or lists no keyboard");
    return false;
  }
  const DeviceInfo& keyboard = m_configuration.keyboards.front();
  m_deviceType = keyboard.device_type;
  m_keyboardName = keyboard.name;
  if (!LoadDeviceDescription(folder, m_deviceType, m_configuration.keyboards, m_features, m_layout).loaded) {
    PrintMessage("the keyboard's description layouts/" + Utf8(keyboard.layout_name) + ".xml cannot be read");
    return false;
  }

  if (!PrepareDatabaseFolder(DatabaseFolder()) || !m_store.Open(UserDataFolder(), m_keyboardName)) {
    PrintMessage("the settings database in " + Utf8(DatabaseFolder()) + " cannot be opened");
    return false;
  }
  m_profiles = std::make_unique<ProfileRules>(
      m_store, ProfileNaming{LanguageId.load(), Text(kProfileWordText)}, DefaultBlockedWords());
  m_macros = std::make_unique<MacroRules>(m_store, MacroNaming{LanguageId.load(), Text(kMacroWordText)},
                                          DefaultBlockedWords());
  m_keys = std::make_unique<KeyAssignmentRules>(m_store);

  m_presence = std::make_unique<DevicePresence>(m_link, static_cast<TaskSink&>(*this),
                                                static_cast<DeviceIndicator&>(*this), m_deviceType);
  for (const DeviceInfo& connection : m_configuration.connections) {
    const auto vid = static_cast<uint32_t>(connection.vid);
    const auto pid = static_cast<uint32_t>(connection.pid);
    m_link.AddDeviceEntry(vid, pid, connection.name, connection.device_type, connection.mode,
                          connection.interface_pattern);
    m_presence->AddConnectionEntry(
        DeviceEntry{vid, pid, connection.name, connection.device_type, connection.mode, connection.interface_pattern});
  }
  return true;
}

std::wstring Session::Text(int id) const {
  return ReadLanguageString(m_languageFolder, LanguageId, kLanguageSection, id);
}

LightingModel& Session::Lighting() {
  if (!m_lighting) {
    m_lighting = std::make_unique<LightingModel>(m_store, m_protocol.State(), *this);
    m_lighting->EnsureLightRows(m_features, m_deviceType);
    // The picture starts with the user's stored colours, black elsewhere.
    std::vector<KeyLight> stored;
    m_store.DbListKeyLights(kUserKeyLightId, stored);
    for (const auto& key : m_layout.Keys()) {
      std::uint32_t rgb = 0;
      for (const auto& row : stored) {
        if (static_cast<std::uint32_t>(row.key_code) == key.code) rgb = static_cast<std::uint32_t>(row.key_rgb);
      }
      m_picture.push_back({key.code, rgb});
    }
  }
  return *m_lighting;
}

int Session::ProfileOf(const std::string& word) {
  Profiles().LoadProfiles();
  if (word.empty()) return m_store.DbGetCurrentProfile();
  const auto id = ParseNumber(word);
  std::wstring name;
  if (!id || *id <= 0 || !m_store.DbGetProfileName(*id, name)) return 0;
  return *id;
}

const PresenceState& Session::Detect() {
  if (!m_detected) {
    m_detected = true;
    m_presence->DetectKeyboard();
    m_presence->DetectionFollowUp();
    m_state = m_presence->GetState();
  }
  return m_state;
}

bool Session::Connected() { return Detect().status == DeviceStatus::Present; }

bool Session::ConnectionIs(size_t connection) {
  Detect();
  return connection < m_presence->GetConnectionCount() && m_presence->IsConnected(connection);
}

ExitCode Session::Report(const RuleResult& result, const std::string& fallback) {
  switch (result.outcome) {
    case RuleOutcome::Done:
      return ExitCode::Done;
    case RuleOutcome::NotFound:
      PrintMessage(fallback + ": not found");
      return ExitCode::NotFound;
    case RuleOutcome::Failed:
      PrintMessage(fallback + ": the settings database could not store the change; nothing changed");
      return ExitCode::BadUsage;
    case RuleOutcome::Refused:
      break;
  }
  const std::wstring text = result.textId != 0 ? Text(result.textId) : std::wstring();
  const std::wstring title = result.titleId != 0 ? Text(result.titleId) : std::wstring();
  if (text.empty()) {
    PrintMessage(fallback + ": refused");
  } else {
    PrintMessage(title.empty() ? text : title + L": " + text);
  }
  return ExitCode::Refused;
}

ProtocolInputs Session::Inputs() {
  ProtocolInputs inputs;
  const int profile = m_store.DbGetCurrentProfile();
  inputs.profile = profile > 0 ? profile : 1;
  inputs.fnLayer = 0;
  inputs.lightMode = Lighting().CurrentMode();
  inputs.deviceType = m_deviceType;
  inputs.connectionMode = m_state.connectionMode < 0 ? 0 : m_state.connectionMode;
  return inputs;
}

void Session::QueueTask(int task) {
  // Detection asks for the pages to be loaded; the tool reads the store
  // when it needs it.
  if (task == TaskCode(DeviceTask::LoadDeviceData)) return;
  m_tasks.push_back(task);
}

void Session::RunTask(int task) {
  const ProtocolInputs inputs = Inputs();
  switch (static_cast<DeviceTask>(task)) {
    case DeviceTask::WriteKeyAssignments:
      m_protocol.WriteKeyAssignments(inputs, m_layout);
      break;
    case DeviceTask::WriteLighting:
      m_protocol.WriteLighting(inputs, m_layout);
      break;
    case DeviceTask::WriteKeyLights:
      m_protocol.WriteKeyLights(inputs, m_layout);
      break;
    case DeviceTask::ResetDevice:
      m_protocol.ResetDevice(inputs, m_layout, [] {});
      break;
    default:
      return;
  }
  m_pacer.Pause(kPauseAfterWrite);
}

void Session::Flush() {
  while (!m_tasks.empty()) {
    const int task = m_tasks.front();
    m_tasks.pop_front();
    if (Connected()) {
      RunTask(task);
      ++m_sentTasks;
    } else {
      ++m_heldTasks;
    }
  }
}

void Session::ReportDelivery() {
  Flush();
  if (m_heldTasks > 0) {
    if (m_state.status == DeviceStatus::PresentNotAccessible) {
      PrintMessage("stored, not sent: the keyboard is present but not accessible");
      SayHowToFixAccess();
    } else {
      PrintMessage("stored, not sent: the keyboard is not connected");
    }
    PrintMessage("'kestrelctl apply' sends the settings once the keyboard is connected");
  } else if (m_sentTasks > 0) {
    PrintMessage(m_sendOnly ? "sent to the keyboard" : "stored and sent to the keyboard");
  }
  m_heldTasks = 0;
  m_sentTasks = 0;
}

bool Session::RequireKeyboard() {
  const PresenceState& state = Detect();
  if (state.status == DeviceStatus::Present) return true;
  if (state.status == DeviceStatus::PresentNotAccessible) {
    PrintMessage("the keyboard is present but not accessible");
    SayHowToFixAccess();
  } else {
    PrintMessage("the keyboard is not connected");
  }
  return false;
}

void Session::SayHowToFixAccess() {
  for (const auto& blocked : m_state.inaccessible) {
    PrintMessage("  no permission to open " + blocked.path + " (" + Utf8(blocked.interfaceId) + ")");
  }
  PrintMessage(
      "install the udev rule that opens the keyboard to the user at the seat: run 'sudo make install-udev' "
      "in the source folder (see README, \"Access to the keyboard\"), then unplug and plug in the keyboard");
}

#pragma once
// Everything one kestrelctl run works with: config.xml, the keyboard's
// description and layout, the settings database the program uses, the
// language's texts and, when a command needs it, the keyboard itself.
//
// It is the tool's LightingHost: queued tasks are kept until the command
// flushes them, then run at once when the keyboard is connected (the
// program's worker does the same a moment later) or noted as stored but
// not sent.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ExitCode.h"
#include "device/DeviceIndicator.h"
#include "device/DeviceLink.h"
#include "device/DeviceLinkTransport.h"
#include "device/DevicePresence.h"
#include "device/ProtocolPacer.h"
#include "device/ReportProtocol.h"
#include "device/TaskSink.h"
#include "lighting/LightingHost.h"
#include "lighting/LightingModel.h"
#include "macros/MacroRules.h"
#include "model/Configuration.h"
#include "model/DeviceInfo.h"
#include "model/KeyboardLayout.h"
#include "store/KeyAssignmentRules.h"
#include "store/ProfileRules.h"
#include "store/RuleResult.h"
#include "store/SettingsStore.h"

class Session final : public LightingHost, private TaskSink, private DeviceIndicator {
 public:
  Session();
  ~Session() override;

  // Reads config.xml and the keyboard's description and opens the
  // database.  `language` 0 takes the program's stored language.  False
  // after saying why on stderr.
  bool Open(int language);

  SettingsStore& Store() { return m_store; }
  const Configuration& Config() const { return m_configuration; }
  const DeviceFeatures& Features() const { return m_features; }
  const KeyboardLayout& Layout() const { return m_layout; }
  int DeviceType() const { return m_deviceType; }
  const std::wstring& KeyboardName() const { return m_keyboardName; }

  std::wstring Text(int id) const;
  ProfileRules& Profiles() { return *m_profiles; }
  MacroRules& Macros() { return *m_macros; }
  KeyAssignmentRules& Keys() { return *m_keys; }
  LightingModel& Lighting();

  // The profile `word` names (an id); 0 when there is none.  Empty: current.
  int ProfileOf(const std::string& word);

  // Runs detection once per run.
  const PresenceState& Detect();
  bool Connected();
  bool ConnectionIs(size_t connection);

  // Writes a rule's refusal in the language's words; the exit code for it.
  ExitCode Report(const RuleResult& result, const std::string& fallback);

  // Runs or notes the queued tasks, then says which.
  void Flush();
  // Flush, then one line on stderr: sent to the keyboard, or stored and
  // waiting for `kestrelctl apply`.  Nothing when nothing was queued.
  void ReportDelivery();
  // For apply and reset, which send what is stored and store nothing new:
  // the delivery line then says only that it was sent.
  void MarkSendOnly() { m_sendOnly = true; }
  // For commands that cannot work without the keyboard: the reason on
  // stderr and false when it is absent or not accessible.
  bool RequireKeyboard();
  ProtocolInputs Inputs();
  ReportProtocol& Protocol() { return m_protocol; }

  // LightingHost
  void QueueTask(int task) override;
  bool IsTaskQueueEmpty() const override { return m_tasks.empty(); }
  void ShowWaitDialog() override {}
  std::vector<KeyColour> PictureColours() const override { return m_picture; }
  void SetPictureColours(const std::vector<KeyColour>& colours) override { m_picture = colours; }

 private:
  // DeviceIndicator: nothing to draw.
  void ResetAllState() override {}
  void SetDeviceState(int, int) override {}
  void RunTask(int task);
  void SayHowToFixAccess();

  Configuration m_configuration;
  DeviceFeatures m_features;
  KeyboardLayout m_layout;
  int m_deviceType = 0;
  std::wstring m_keyboardName;
  std::wstring m_languageFolder;

  SettingsStore m_store;
  std::unique_ptr<ProfileRules> m_profiles;
  std::unique_ptr<MacroRules> m_macros;
  std::unique_ptr<KeyAssignmentRules> m_keys;
  std::unique_ptr<LightingModel> m_lighting;

  DeviceLink m_link;
  DeviceLinkTransport m_transport{m_link};
  SleepingPacer m_pacer;
  ReportProtocol m_protocol{m_store, m_transport, m_pacer};
  std::unique_ptr<DevicePresence> m_presence;
  PresenceState m_state;
  bool m_detected = false;

  std::deque<int> m_tasks;
  int m_sentTasks = 0;
  bool m_sendOnly = false;
  int m_heldTasks = 0;
  std::vector<KeyColour> m_picture;
};

#pragma once
// The rules of the profile list, shared by the main window and the
// command-line tool: the three default profiles of a fresh store, at most
// 200 profiles, generated unique names, refused names, and deleting only
// while another profile remains.  Thread rules: as SettingsStore.
#include <string>
#include <vector>

#include "store/Records.h"
#include "store/RuleResult.h"

class SettingsStore;

constexpr int kMaxProfiles = 200;

// The language's words the rules need.
struct ProfileNaming {
  int languageId = 1033;
  std::wstring profileWord;  // text 65
};

class ProfileRules {
 public:
  ProfileRules(SettingsStore& store, ProfileNaming naming, std::vector<std::wstring> blockedWords);

  // The profiles in store order; a fresh store first gets "<word> 1" to
  // "<word> 3" (the default settings rows after the first) with the first
  // current.  A store with no current profile makes the first one current.
  std::vector<Profile> LoadProfiles();
  // The name the list shows for a profile.
  std::wstring DisplayName(const Profile& profile) const;
  int CurrentProfile();

  // `name` empty: a generated unique name over the shown names.
  RuleResult AddProfile(const std::wstring& name = {});
  RuleResult RenameProfile(int profile, const std::wstring& name);
  // Refused (nothing changes) while it is the only profile; a deleted
  // current profile passes "current" to the first remaining one.
  RuleResult DeleteProfile(int profile);
  RuleResult SelectProfile(int profile);

 private:
  std::vector<std::wstring> ShownNames();
  bool Exists(int profile);

  SettingsStore& m_store;
  ProfileNaming m_naming;
  std::vector<std::wstring> m_blockedWords;
};

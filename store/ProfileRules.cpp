#include "store/ProfileRules.h"

#include "model/NameRules.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kTooManyProfilesText = 295;
constexpr int kTooManyProfilesTitle = 65;
constexpr int kBadNameText = 330;
constexpr int kBadNameTitle = 33;

}  // namespace

ProfileRules::ProfileRules(SettingsStore& store, ProfileNaming naming, std::vector<std::wstring> blockedWords)
    : m_store(store), m_naming(std::move(naming)), m_blockedWords(std::move(blockedWords)) {}

std::vector<Profile> ProfileRules::LoadProfiles() {
  std::vector<Profile> profiles;
  m_store.DbListProfiles(profiles);
  if (profiles.empty()) {
    for (int number = 1; number <= 3; ++number) {
      Profile profile;
      profile.name = m_naming.profileWord + L" " + std::to_wstring(number);
      const int id = m_store.DbAddProfile(profile);
      if (number == 1 && id > 0) {
        m_store.DbWriteDefaultSettings();
        m_store.DbSetCurrentProfile(id);
      }
    }
    m_store.DbListProfiles(profiles);
  }
  if (!profiles.empty() && m_store.DbGetCurrentProfile() == 0) {
    m_store.DbSetCurrentProfile(profiles.front().profile);
    for (auto& profile : profiles) profile.status = profile.profile == profiles.front().profile ? 1 : 0;
  }
  return profiles;
}

std::wstring ProfileRules::DisplayName(const Profile& profile) const {
  return ProfileDisplayName(profile.name, m_naming.languageId, m_naming.profileWord);
}

int ProfileRules::CurrentProfile() { return m_store.DbGetCurrentProfile(); }

std::vector<std::wstring> ProfileRules::ShownNames() {
  std::vector<Profile> profiles;
  m_store.DbListProfiles(profiles);
  std::vector<std::wstring> names;
  for (const auto& profile : profiles) names.push_back(DisplayName(profile));
  return names;
}

bool ProfileRules::Exists(int profile) {
  std::wstring name;
  return m_store.DbGetProfileName(profile, name);
}

RuleResult ProfileRules::AddProfile(const std::wstring& name) {
  const auto shown = ShownNames();
  if (shown.size() >= static_cast<size_t>(kMaxProfiles)) {
    return RuleResult::Refused(kTooManyProfilesText, kTooManyProfilesTitle);
  }
  Profile profile;
  if (name.empty()) {
    profile.name = MakeUniqueName(m_naming.profileWord, shown);
  } else if (IsBlockedName(name, m_blockedWords)) {
    return RuleResult::Refused(kBadNameText, kBadNameTitle);
  } else {
    profile.name = name;
  }
  const int id = m_store.DbAddProfile(profile);
  return id > 0 ? RuleResult::Done(id) : RuleResult::Failed();
}

RuleResult ProfileRules::RenameProfile(int profile, const std::wstring& name) {
  if (name.empty() || IsBlockedName(name, m_blockedWords)) return RuleResult::Refused(kBadNameText, kBadNameTitle);
  if (!Exists(profile)) return RuleResult::NotFound();
  return m_store.DbRenameProfile(profile, name) ? RuleResult::Done(profile) : RuleResult::Failed();
}

RuleResult ProfileRules::DeleteProfile(int profile) {
  std::vector<Profile> profiles;
  m_store.DbListProfiles(profiles);
  if (!Exists(profile)) return RuleResult::NotFound();
  // The window's delete button silently does nothing here; the refusal
  // carries no text for it.
  if (profiles.size() <= 1) return RuleResult::Refused(0, 0);
  const bool wasCurrent = m_store.DbGetCurrentProfile() == profile;
  if (!m_store.DbRemoveProfile(profile)) return RuleResult::Failed();
  if (wasCurrent) {
    for (const auto& other : profiles) {
      if (other.profile != profile) {
        m_store.DbSetCurrentProfile(other.profile);
        break;
      }
    }
  }
  return RuleResult::Done(profile);
}

RuleResult ProfileRules::SelectProfile(int profile) {
  if (!Exists(profile)) return RuleResult::NotFound();
  return m_store.DbSetCurrentProfile(profile) ? RuleResult::Done(profile) : RuleResult::Failed();
}

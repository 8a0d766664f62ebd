#include "store/ProfileFile.h"

#include <map>

#include "store/MacroItems.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"
#include "support/XmlDocument.h"

namespace {

// What a profile file holds, read from the store in one go.
struct ExportedMacro {
  Macro macro;
  std::vector<MacroEvent> events;
};

void AddKeyItem(XmlDocument& document, const KeyAssignment& a) {
  document.AddElement(L"item");
  document.SetAttribute(L"fn_layer", a.fn_layer);
  document.SetAttribute(L"key_code", a.key_code);
  document.SetAttribute(L"layout_value", a.layout_value);
  document.SetAttribute(L"layout_desc", a.layout_desc);
  document.SetAttribute(L"macro_type", a.macro_type);
  document.SetAttribute(L"macro_value", a.macro_value);
  document.SetAttribute(L"macro_value2", a.macro_value2);
  document.SetAttribute(L"macro_value3", a.macro_value3);
  document.SetAttribute(L"macro_desc", a.macro_desc);
}

void AddMacroInfo(XmlDocument& document, const ExportedMacro& exported) {
  document.AddElement(L"macroinfo");
  document.SetAttribute(L"name", exported.macro.name);
  document.SetAttribute(L"macro_id", exported.macro.macro_id);
  document.SetAttribute(L"times", exported.macro.play_times);
  document.SetAttribute(L"type", exported.macro.delay_type);
  document.SetAttribute(L"delaytime", exported.macro.delay_time);
  document.EnterElement();
  document.AddElement(L"macroitems");
  document.EnterElement();
  AddMacroItems(document, exported.events);
  document.LeaveElement();
  document.LeaveElement();
}

KeyAssignment ReadKeyItem(const XmlDocument& document, int profile) {
  KeyAssignment a;
  a.profile = profile;
  a.fn_layer = ParseDecimal(document.GetAttribute(L"fn_layer"));
  a.key_code = ParseDecimal(document.GetAttribute(L"key_code"));
  a.layout_value = ParseDecimal(document.GetAttribute(L"layout_value"));
  a.layout_desc = document.GetAttribute(L"layout_desc");
  a.macro_type = ParseDecimal(document.GetAttribute(L"macro_type"));
  a.macro_value = ParseDecimal(document.GetAttribute(L"macro_value"));
  a.macro_value2 = ParseDecimal(document.GetAttribute(L"macro_value2"));
  a.macro_value3 = ParseDecimal(document.GetAttribute(L"macro_value3"));
  a.macro_desc = document.GetAttribute(L"macro_desc");
  return a;
}

// The first pass over the root's children: the macros.  Fills `mapped`
// (file macro id → new id) and the result's list; false when the store
// refused something.
bool ImportMacros(XmlDocument& document, SettingsStore& store, const std::vector<Macro>& existing,
                  std::map<int, int>& mapped, ProfileImport& result) {
  while (document.FindElement(L"macroinfo")) {
    const std::wstring name = document.GetAttribute(L"name");
    const int fileId = ParseDecimal(document.GetAttribute(L"macro_id"));
    bool known = false;
    for (const Macro& macro : existing) {
      known = known || (macro.macro_id == fileId && macro.name == name);
    }
    // A macro played by two keys is in the file twice; the second copy
    // would only be an orphan nobody plays.
    if (known || mapped.count(fileId) != 0) {
      continue;
    }
    Macro macro;
    macro.name = name;
    macro.play_times = ParseDecimal(document.GetAttribute(L"times"));
    macro.delay_type = ParseDecimal(document.GetAttribute(L"type"));
    macro.delay_time = ParseDecimal(document.GetAttribute(L"delaytime"));
    const int id = store.DbInsertMacro(macro);
    if (id <= 0) {
      return false;
    }
    mapped[fileId] = id;
    result.macros.push_back({id, name});
    document.EnterElement();
    if (document.FindElement(L"macroitems")) {
      document.EnterElement();
      if (!StoreMacroItems(document, store, id)) {
        return false;
      }
      document.LeaveElement();
    }
    document.LeaveElement();
  }
  return true;
}

}  // namespace

ExportResult ExportProfile(SettingsStore& store, const std::wstring& path, int profileId,
                           const std::wstring& profileName) {
  if (profileId <= 0) {
    return ExportResult::NothingSelected;
  }
  std::vector<KeyAssignment> assignments;
  std::vector<ExportedMacro> macros;
  {
    // One snapshot: the worker cannot change the profile between the reads.
    SQLiteAutoTransaction transaction(&store);
    if (transaction.Failed()) {
      return ExportResult::ReadFailed;
    }
    store.DbListKeyAssignments(profileId, 0, assignments);
    for (const KeyAssignment& a : assignments) {
      if (a.macro_type != kMacroAssignmentType) {
        continue;
      }
      // A macro that is gone cannot be carried; writing it as an empty
      // macro would add a nameless one wherever the file is imported.
      ExportedMacro exported;
      if (store.DbGetMacro(a.macro_value, exported.macro)) {
        store.DbListMacroEvents(a.macro_value, exported.events);
        macros.push_back(std::move(exported));
      }
    }
    if (!transaction.End()) {
      return ExportResult::ReadFailed;
    }
  }

  XmlDocument document;
  document.SetText(kExchangeDeclaration);
  document.AddElement(L"profile");
  document.EnterElement();
  document.AddElement(L"profileinfo");
  document.SetAttribute(L"name", profileName);
  document.AddElement(L"keyitems");
  document.EnterElement();
  for (const KeyAssignment& a : assignments) {
    AddKeyItem(document, a);
  }
  document.LeaveElement();
  for (const ExportedMacro& exported : macros) {
    AddMacroInfo(document, exported);
  }
  document.LeaveElement();
  return document.SaveFile(path) ? ExportResult::Saved : ExportResult::SaveFailed;
}

ProfileImport ImportProfile(SettingsStore& store, const std::wstring& path) {
  XmlDocument document;
  if (!document.LoadFile(path) || !document.FindElement(L"profile")) {
    return {};
  }
  // Everything the import stores goes in one transaction: a file that fails
  // half-way leaves the store as it was.
  SQLiteAutoTransaction transaction(&store);
  if (transaction.Failed()) {
    return {};
  }
  ProfileImport result;
  std::vector<Macro> existing;
  store.DbListMacros(existing);
  std::map<int, int> mapped;
  document.EnterElement();
  if (!ImportMacros(document, store, existing, mapped, result)) {
    transaction.Fail();
    return {};
  }

  // The second pass reads the assignments from the start of the root again,
  // so macros may stand before or after `keyitems`.
  XmlDocument again;
  again.SetText(document.GetText());
  again.FindElement(L"profile");
  again.EnterElement();
  again.FindElement(L"profileinfo");
  result.name = NameFromFileName(path);
  result.profile = store.DbAddProfile({0, result.name, L"", 0, 0});
  if (result.profile <= 0) {
    transaction.Fail();
    return {};
  }
  if (again.FindElement(L"keyitems")) {
    again.EnterElement();
    while (again.FindElement(L"item")) {
      KeyAssignment a = ReadKeyItem(again, result.profile);
      if (a.macro_type == kMacroAssignmentType) {
        const auto found = mapped.find(a.macro_value);
        if (found != mapped.end()) {
          a.macro_value = found->second;
        }
      }
      store.DbSaveKeyAssignment(a);
      if (transaction.Failed()) {
        return {};
      }
    }
  }
  store.DbSetCurrentProfile(result.profile);
  if (!transaction.End()) {
    return {};
  }
  result.imported = true;
  return result;
}

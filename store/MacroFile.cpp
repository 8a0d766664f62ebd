#include "store/MacroFile.h"

#include "store/MacroItems.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"
#include "support/XmlDocument.h"

ExportResult ExportMacro(SettingsStore& store, const std::wstring& path, int macroId) {
  if (macroId <= 0) {
    return ExportResult::NothingSelected;
  }
  Macro macro;
  std::vector<MacroEvent> events;
  {
    // One snapshot: the worker cannot change the macro between the reads.
    SQLiteAutoTransaction transaction(&store);
    if (transaction.Failed() || !store.DbGetMacro(macroId, macro)) {
      return ExportResult::ReadFailed;
    }
    store.DbListMacroEvents(macroId, events);
    if (!transaction.End()) {
      return ExportResult::ReadFailed;
    }
  }

  XmlDocument document;
  document.SetText(kExchangeDeclaration);
  document.AddElement(L"macro");
  document.EnterElement();
  document.AddElement(L"macroinfo");
  document.SetAttribute(L"name", macro.name);
  document.SetAttribute(L"times", macro.play_times);
  document.SetAttribute(L"type", macro.delay_type);
  document.SetAttribute(L"delaytime", macro.delay_time);
  document.AddElement(L"macroitems");
  document.EnterElement();
  AddMacroItems(document, events);
  document.LeaveElement();
  document.LeaveElement();
  return document.SaveFile(path) ? ExportResult::Saved : ExportResult::SaveFailed;
}

MacroImport ImportMacro(SettingsStore& store, const std::wstring& path) {
  XmlDocument document;
  if (!document.LoadFile(path) || !document.FindElement(L"macro")) {
    return {};
  }
  document.EnterElement();
  // The macro's own name in the file is not used: it is named after the file.
  document.FindElement(L"macroinfo");
  Macro macro;
  macro.name = NameFromFileName(path);
  macro.play_times = ParseDecimal(document.GetAttribute(L"times"));
  macro.delay_type = ParseDecimal(document.GetAttribute(L"type"));
  macro.delay_time = ParseDecimal(document.GetAttribute(L"delaytime"));
  macro.link_count = 0;

  SQLiteAutoTransaction transaction(&store);
  if (transaction.Failed()) {
    return {};
  }
  MacroImport result;
  result.macro_id = store.DbInsertMacro(macro);
  result.name = macro.name;
  if (result.macro_id <= 0) {
    transaction.Fail();
    return {};
  }
  if (document.FindElement(L"macroitems")) {
    document.EnterElement();
    if (!StoreMacroItems(document, store, result.macro_id)) {
      transaction.Fail();
      return {};
    }
  }
  if (!transaction.End()) {
    return {};
  }
  result.imported = true;
  return result;
}

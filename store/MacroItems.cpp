#include "store/MacroItems.h"

#include "store/ExchangeFile.h"
#include "store/SettingsStore.h"
#include "support/XmlDocument.h"

void AddMacroItems(XmlDocument& document, const std::vector<MacroEvent>& events) {
  for (const MacroEvent& event : events) {
    document.AddElement(L"item");
    document.SetAttribute(L"desc", event.desc);
    document.SetAttribute(L"type", event.type);
    document.SetAttribute(L"value", event.value);
    document.SetAttribute(L"delay_time", event.delay_time);
  }
}

bool StoreMacroItems(XmlDocument& document, SettingsStore& store, int macroId) {
  int index = 0;
  while (document.FindElement(L"item")) {
    MacroEvent event;
    event.macro_id = macroId;
    event.record_index = index++;
    event.desc = document.GetAttribute(L"desc");
    event.type = ParseDecimal(document.GetAttribute(L"type"));
    event.value = ParseDecimal(document.GetAttribute(L"value"));
    event.delay_time = ParseDecimal(document.GetAttribute(L"delay_time"));
    if (store.DbAddMacroEvent(event) == 0) {
      return false;
    }
  }
  return true;
}

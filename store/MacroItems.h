#pragma once
// The `macroitems` list both exchange files carry: one `item` per event with
// `desc`, `type`, `value` and `delay_time`.  Any thread.
#include <vector>

#include "store/Records.h"

class SettingsStore;
class XmlDocument;

// Adds an `item` per event at the cursor, which must be inside `macroitems`.
void AddMacroItems(XmlDocument& document, const std::vector<MacroEvent>& events);

// Stores every `item` after the cursor as an event of `macroId`, numbered
// 0, 1, 2 … in file order; false when the store refused one.
bool StoreMacroItems(XmlDocument& document, SettingsStore& store, int macroId);

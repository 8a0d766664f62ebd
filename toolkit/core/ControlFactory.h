#pragma once
// The class-name table behind PaintManager::CreateControl and
// MPanel::CreateControl: which names each factory accepts, which
// constructor arguments each class takes, and how to make it.  Names match
// exactly (case-sensitive, whole string).  A class whose row has no maker
// yet is not in this library, and asking for it gives null.
// Thread-safety: the table is constant; Create runs on the UI thread.
#include "toolkit/core/Types.h"

class MControl;
class MObject;

namespace ControlFactory {

enum class Host { PaintManager, Panel };

using Maker = MControl* (*)(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible,
                            int enabled);

struct ClassInfo {
  const wchar_t* name;
  bool atTopLevel;  // accepted by PaintManager::CreateControl
  bool inPanel;     // accepted by MPanel::CreateControl
  bool takesTitle;
  bool takesEnabled;
  Maker make;       // null while the class is not part of the library
};

// The row of exactly this name, or null.
const ClassInfo* Find(const wchar_t* className);
// The table in its order.
const ClassInfo* Table(size_t& count);
// A new control (not yet given a manager or a list), or null for an empty
// name, a name not in the table, a name the host does not accept, or a
// class not in the library.  Classes without an enabled argument are made
// enabled, except MText, which is made disabled.
MControl* Create(Host host, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                 const wchar_t* title, int visible, int enabled);

}  // namespace ControlFactory

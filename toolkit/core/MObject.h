#pragma once
// The root interface of everything that can be the parent of a control:
// controls themselves and the dialogs that host them.  A child reports its
// notifications (OnBaseMessage) and its redraw requests (OnControlUpdate)
// to its parent through this interface.
// Thread-safety: UI thread, except OnControlUpdate, which the periodic timer
// thread may also call (see PaintManager).
#include "toolkit/core/Types.h"

class MControl;

class MObject {
 public:
  virtual ~MObject() = default;
  // Exact, case-sensitive comparison of the whole class name.
  virtual bool IsClass(const wchar_t* name) const;
  virtual const wchar_t* GetClassNameW() const { return nullptr; }
  virtual const void* GetObjectClass() const { return nullptr; }
  virtual const wchar_t* BaseObjectClassName() const { return nullptr; }
  virtual long OnBaseMessage(unsigned id, unsigned code, unsigned wParam, long lParam) {
    (void)id;
    (void)code;
    (void)wParam;
    (void)lParam;
    return 0;
  }
  virtual long OnControlUpdate(CRect rect, int flag, MControl* control) {
    (void)rect;
    (void)flag;
    (void)control;
    return 0;
  }
};

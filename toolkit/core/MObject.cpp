#include "toolkit/core/MObject.h"

#include <cwchar>

bool MObject::IsClass(const wchar_t* name) const {
  const wchar_t* own = GetClassNameW();
  if (!own || !name) return false;
  return std::wcscmp(own, name) == 0;
}

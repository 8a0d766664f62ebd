#include "platform/ProgramInstance.h"

#include <sys/auxv.h>

namespace platform {

const void* ProgramInstance() {
  // The kernel tells every process where it mapped the executable's program
  // headers; unlike the address of a function here, that names the program
  // and not the library this code is linked into.
  return reinterpret_cast<const void*>(::getauxval(AT_PHDR));
}

}  // namespace platform

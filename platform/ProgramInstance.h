#pragma once
// What identifies the running program's module, as a Windows instance handle
// does: where the executable's program headers lie in memory.  Any thread.

namespace platform {

const void* ProgramInstance();

}  // namespace platform

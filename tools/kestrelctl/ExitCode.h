#pragma once
// What kestrelctl's exit status tells a script.
enum class ExitCode : int {
  Done = 0,
  BadUsage = 1,   // also a store that could not do what was asked
  NotFound = 2,   // profile, key, macro or file
  NoKeyboard = 3, // absent or not accessible when the command needed it
  Refused = 4,    // a rule said no: a limit, a blocked or empty name
};

constexpr int ToInt(ExitCode code) { return static_cast<int>(code); }

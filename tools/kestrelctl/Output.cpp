#include "Output.h"

#include <cstdio>

#include "platform/TextConvert.h"

std::string Utf8(const std::wstring& text) { return platform::ToUtf8(text); }
std::wstring Wide(const std::string& text) { return platform::FromUtf8(text); }

void PrintData(const std::wstring& line) { std::printf("%s\n", Utf8(line).c_str()); }

void PrintJson(const nlohmann::json& value) {
  // Replacement instead of an exception: stored names come from files.
  std::printf("%s\n", value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

void PrintMessage(const std::wstring& line) { PrintMessage(Utf8(line)); }

void PrintMessage(const std::string& line) {
  std::fflush(stdout);
  std::fprintf(stderr, "kestrelctl: %s\n", line.c_str());
}

ExitCode UsageError(const std::string& message, const std::string& command) {
  PrintMessage(message);
  PrintMessage("see 'kestrelctl " + (command.empty() ? std::string() : command + " ") + "--help'");
  return ExitCode::BadUsage;
}

ExitCode NotFound(const std::string& what) {
  PrintMessage(what + " not found");
  return ExitCode::NotFound;
}

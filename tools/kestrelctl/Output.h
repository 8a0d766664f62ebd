#pragma once
// Where kestrelctl's words go: data (listings, JSON) to stdout, messages
// to stderr, both as UTF-8 lines.
#include <nlohmann/json.hpp>
#include <string>

#include "ExitCode.h"

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);

void PrintData(const std::wstring& line);
void PrintJson(const nlohmann::json& value);
void PrintMessage(const std::wstring& line);
void PrintMessage(const std::string& line);

// A usage error: the message, a pointer to --help, exit code 1.
ExitCode UsageError(const std::string& message, const std::string& command);
ExitCode NotFound(const std::string& what);

#pragma once
// The commands of audioconv. Each returns the process exit code and writes
// at most one line to standard error when it fails.

#include <string>
#include <vector>

int RunInfo(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
// Writes a sine tone (for trying the other commands out).
int RunTone(const std::vector<std::string>& args);
// A short text for an AudioResult code.
const char* DescribeAudioResult(int code);

#pragma once
// kvftool's commands. Each takes the words after the command name and returns
// the tool's exit code (KvfPictureIO.h), having printed one line on standard
// error when it fails.

#include <string>
#include <vector>

using KvfArgs = std::vector<std::string>;

int RunInfoCommand(const KvfArgs& args);    // info FILE
int RunDecodeCommand(const KvfArgs& args);  // decode IN OUT
int RunEncodeCommand(const KvfArgs& args);  // encode --codec TAG [--reference ALPHA.bmp] IN OUT
int RunConvertCommand(const KvfArgs& args); // convert --format F [--palette FILE.bmp] [--dither] IN OUT
int RunSplitCommand(const KvfArgs& args);   // split --frames N IN PATTERN
int RunJoinCommand(const KvfArgs& args);    // join --out OUT FILE...
int RunThumbnailCommand(const KvfArgs& args); // thumbnail [--frames N] IN OUT.png SIZE

// The usage text printed by --help.
const char* KvfUsage();

#pragma once
// kvftool's quantize command (colour reduction of sprite files). `argv[0]` is
// "quantize"; the command's own arguments follow. Returns the tool's exit
// code (KvfPictureIO.h) after printing one line on standard error on failure.

int RunQuantizeCommand(int argc, char** argv);

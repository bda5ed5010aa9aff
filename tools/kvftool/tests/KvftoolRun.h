#pragma once
// Runs the built kvftool with arguments, as a shell would, and keeps what it
// printed and how it ended.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ToolRun {
    int status = -1;
    std::string output; // standard output and standard error together
};

inline ToolRun Kvftool(const std::string& arguments)
{
    ToolRun run;
    const std::string command = std::string(KVFTOOL_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 256> buffer;
    while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// kvftool: inspects, encodes, decodes, converts, splits and joins sprite files.

#include "KvfCommands.h"
#include "KvfPictureIO.h"
#include "QuantizeCommand.h"
#include "common/VersionText.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // The commands read sprite files as packed images themselves; installed
    // all the same, so that any plain image they load reads the same files.
    if (argc < 2)
        return KvfFail("no command given (try kvftool --help)", KVF_EXIT_USAGE);
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 || std::strcmp(command, "help") == 0) {
        std::fputs(KvfUsage(), stdout);
        return KVF_EXIT_OK;
    }
    if (AsksForVersion(command)) {
        std::fputs(VersionText("kvftool").c_str(), stdout);
        return KVF_EXIT_OK;
    }
    if (std::strcmp(command, "quantize") == 0)
        return RunQuantizeCommand(argc - 1, argv + 1);

    const KvfArgs args(argv + 2, argv + argc);
    for (const std::string& word : args)
        if (word == "--help") {
            std::fputs(KvfUsage(), stdout);
            return KVF_EXIT_OK;
        }
    struct Command {
        const char* name;
        int (*run)(const KvfArgs&);
    };
    static const Command commands[] = {
        {"info", RunInfoCommand},     {"decode", RunDecodeCommand}, {"encode", RunEncodeCommand},
        {"convert", RunConvertCommand}, {"split", RunSplitCommand}, {"join", RunJoinCommand},
        {"thumbnail", RunThumbnailCommand},
    };
    for (const Command& c : commands)
        if (std::strcmp(command, c.name) == 0)
            return c.run(args);
    return KvfFail(std::string("unknown command ") + command + " (try kvftool --help)", KVF_EXIT_USAGE);
}

// The game's own files from outside: "config.dat" (private profile),
// "trophy.bin" and the scripted-input text. The first byte picks the reader;
// the rest is the file.

#include "common/AtomicFile.h"
#include "common/PrivateProfile.h"
#include "game/InputScript.h"
#include "game/TrophyFile.h"

#include <cstdint>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    static const std::string path = "/tmp/veldra-game-files-fuzz-" + std::to_string(::getpid());
    switch (data[0] % 3) {
    case 0: {
        WriteFileAtomically(path, bytes.data(), bytes.size());
        int sum = 0;
        for (const char* key : {"highcolour", "keyleft", "keyup", "keybut0"})
            sum += GetPrivateProfileInt("configuration", key, 0, path);
        WritePrivateProfileString("configuration", "keyright", "205", path);
        (void)sum;
        break;
    }
    case 1: {
        WriteFileAtomically(path, bytes.data(), bytes.size());
        const TrophyRecord before = ReadTrophyRecord(path);
        if (before.entries.size() > bytes.size() / 4)
            __builtin_trap(); // never more entries than the file holds
        if (AppendTrophy(3, path)) {
            // Every entry read is kept, and a record that did not read
            // cleanly is kept whole beside the new one.
            std::vector<int32_t> expected = before.entries;
            expected.push_back(3);
            if (ReadTrophies(path) != expected)
                __builtin_trap();
            const std::string copy = path + ".damaged";
            std::string kept;
            if (!before.clean && (!ReadWholeFile(copy, kept) || kept != bytes))
                __builtin_trap();
            ::unlink(copy.c_str());
        }
        break;
    }
    default: {
        std::vector<ScriptEvent> events;
        std::string error;
        ParseInputScript(bytes, events, error);
        break;
    }
    }
    ::unlink(path.c_str());
    return 0;
}

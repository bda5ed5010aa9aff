// The game's own files from outside: "config.dat" (read and rewritten by
// its one owner),
// "trophy.bin" and the scripted-input text. The first byte picks the reader;
// the rest is the file.

#include "common/AtomicFile.h"
#include "game/InputScript.h"
#include "gamedata/CConfigFile.h"
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
        const CConfigFile file(path);
        GameConfig config = file.Read();
        // Whatever the file held, the keys written are the keys read back.
        config.keys[size_t(GameControl::Right)] = 205;
        if (file.WriteControlKeys(config.keys) && file.Read().keys != config.keys &&
            config.Key(GameControl::Up) | config.Key(GameControl::Down))
            __builtin_trap();
        // And the aids written are the aids read back.
        const HuntAids flipped{!config.aids.quarryOnRadar, config.aids.aimReticle};
        if (file.WriteAids(flipped) && file.Read().aids != flipped)
            __builtin_trap();
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
        if (ParseInputScript(bytes, events, error)) {
            // Events by pass first, in pass order, then the timed ones in
            // time order, each time a plain number of seconds within a day.
            for (size_t i = 0; i < events.size(); ++i) {
                const ScriptEvent& e = events[i];
                if (e.Timed() ? (e.pass != 0 || !(e.seconds <= 86400)) : e.pass < 1)
                    __builtin_trap();
                if (i > 0) {
                    const ScriptEvent& before = events[i - 1];
                    if (before.Timed() && !e.Timed())
                        __builtin_trap();
                    if (before.Timed() == e.Timed() && (e.Timed() ? e.seconds < before.seconds : e.pass < before.pass))
                        __builtin_trap();
                }
            }
        }
        break;
    }
    }
    ::unlink(path.c_str());
    return 0;
}

#include "game/TrophyFile.h"

#include "common/AtomicFile.h"
#include "common/ByteOrder.h"

#include <cstdio>

std::vector<int32_t> ReadTrophies(const std::string& path)
{
    std::vector<int32_t> entries;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return entries;
    uint8_t bytes[4];
    if (std::fread(bytes, 1, 4, file) == 4) {
        const int32_t count = int32_t(ReadLE32(bytes));
        // Read entry by entry, never reserving more than the file delivers:
        // a lying count must not cost memory or reads past the end.
        for (int32_t i = 0; i < count; ++i) {
            if (std::fread(bytes, 1, 4, file) != 4)
                break;
            entries.push_back(int32_t(ReadLE32(bytes)));
        }
    }
    std::fclose(file);
    return entries;
}

bool AppendTrophy(int32_t kind, const std::string& path)
{
    std::vector<int32_t> entries = ReadTrophies(path);
    entries.push_back(kind);
    std::vector<uint8_t> bytes(4 + 4 * entries.size());
    WriteLE32(bytes.data(), uint32_t(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        WriteLE32(bytes.data() + 4 + 4 * i, uint32_t(entries[i]));
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

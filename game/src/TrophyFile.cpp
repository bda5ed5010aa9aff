#include "game/TrophyFile.h"

#include "common/AtomicFile.h"
#include "common/ByteOrder.h"
#include "common/CAtomicOutputFile.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Copies the record's bytes to the first free name of "PATH.damaged",
// "PATH.damaged.1", ...; the name used, or empty when no copy was made.
std::string KeepDamagedCopy(const std::string& path)
{
    for (int number = 0; number < 1000; ++number) {
        std::string name = path + ".damaged";
        if (number) {
            name += '.';
            name += std::to_string(number);
        }
        struct stat existing {};
        if (::lstat(name.c_str(), &existing) == 0)
            continue;
        const int source = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (source < 0)
            return {};
        CAtomicOutputFile copy;
        bool ok = copy.Create(name);
        char chunk[65536];
        for (ssize_t n; ok && (n = ::read(source, chunk, sizeof chunk)) != 0;)
            ok = n > 0 && copy.Write(chunk, size_t(n));
        ::close(source);
        switch (ok ? copy.CommitWithoutReplacing() : CAtomicOutputFile::CommitResult::Failed) {
        case CAtomicOutputFile::CommitResult::Done:
            return name;
        case CAtomicOutputFile::CommitResult::TargetExists:
            continue; // made by another writer meanwhile: the next number
        case CAtomicOutputFile::CommitResult::Failed:
            return {};
        }
    }
    return {};
}

} // namespace

TrophyRecord ReadTrophyRecord(const std::string& path)
{
    TrophyRecord record;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return record;
    uint8_t bytes[4];
    const size_t countBytes = std::fread(bytes, 1, 4, file);
    if (countBytes == 4) {
        const int32_t count = int32_t(ReadLE32(bytes));
        // With a count out of range, every whole entry the file holds; else
        // the counted ones. Entry by entry, never reserving more than the
        // file delivers: a lying count must not cost memory.
        const int32_t wanted = count < 0 ? kMaxTrophies : std::min(count, kMaxTrophies);
        int32_t read = 0;
        for (; read < wanted && std::fread(bytes, 1, 4, file) == 4; ++read)
            record.entries.push_back(int32_t(ReadLE32(bytes)));
        record.clean = read == count && std::fgetc(file) == EOF;
    } else {
        // An empty file holds nothing to lose; one to three bytes are a torn count.
        record.clean = countBytes == 0;
    }
    if (std::ferror(file))
        record.clean = false;
    std::fclose(file);
    return record;
}

std::vector<int32_t> ReadTrophies(const std::string& path)
{
    return ReadTrophyRecord(path).entries;
}

bool AppendTrophy(int32_t kind, const std::string& path)
{
    TrophyRecord record = ReadTrophyRecord(path);
    if (record.entries.size() >= size_t(kMaxTrophies))
        return false; // full: one more would not read back
    if (!record.clean) {
        const std::string copy = KeepDamagedCopy(path);
        if (copy.empty()) {
            std::fprintf(stderr, "Veldra: %s did not read cleanly and no copy of it could be kept; it is left as it is\n",
                         path.c_str());
            return false;
        }
        std::fprintf(stderr, "Veldra: %s did not read cleanly; its bytes are kept in %s\n", path.c_str(),
                     copy.c_str());
    }
    record.entries.push_back(kind);
    std::vector<uint8_t> bytes(4 + 4 * record.entries.size());
    WriteLE32(bytes.data(), uint32_t(record.entries.size()));
    for (size_t i = 0; i < record.entries.size(); ++i)
        WriteLE32(bytes.data() + 4 + 4 * i, uint32_t(record.entries[i]));
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

#include "editor/PaletteFile.h"

#include "common/AtomicFile.h"

#include <cstdio>

EditorStatus ParsePaletteFile(const uint8_t* bytes, size_t size, PaletteEntries& entries)
{
    if (!bytes || size != PALETTE_FILE_SIZE)
        return EditorStatus::BadPaletteFile;
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint8_t* entry = bytes + 4 * i;
        entries[i] = PaletteEntry{entry[0], entry[1], entry[2], uint8_t(entry[3] & PALETTE_FLAG_NOCOLLAPSE)};
    }
    return EditorStatus::Ok;
}

EditorStatus ReadPaletteFile(const std::string& path, PaletteEntries& entries)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return EditorStatus::CannotOpenFile;
    // One byte more than a palette file holds is enough to tell a longer file.
    uint8_t bytes[PALETTE_FILE_SIZE + 1];
    const size_t size = std::fread(bytes, 1, sizeof bytes, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return EditorStatus::CannotOpenFile;
    return ParsePaletteFile(bytes, size, entries);
}

EditorStatus WritePaletteFile(const std::string& path, const PaletteEntry* entries, int count)
{
    uint8_t bytes[PALETTE_FILE_SIZE] = {};
    for (int i = 0; entries && i < count && i < 256; ++i) {
        bytes[4 * i] = entries[i].red;
        bytes[4 * i + 1] = entries[i].green;
        bytes[4 * i + 2] = entries[i].blue;
        bytes[4 * i + 3] = entries[i].flags;
    }
    return WriteFileAtomically(path, bytes, sizeof bytes) ? EditorStatus::Ok : EditorStatus::CannotWriteFile;
}

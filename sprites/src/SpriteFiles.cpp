#include "sprites/SpriteFiles.h"

#include "common/AtomicFile.h"
#include "sprites/PictureFormat.h"

#include <cstdio>
#include <cstring>
#include <vector>

int StripFrameHeight(int pictureHeight, int frameCount)
{
    if (frameCount < 1 || pictureHeight < frameCount)
        return 0;
    return pictureHeight / frameCount;
}

StripFrame StripFrameRows(int pictureHeight, int frameCount, int frame)
{
    StripFrame rows;
    const int h = StripFrameHeight(pictureHeight, frameCount);
    if (h == 0 || frame < 0 || frame >= frameCount)
        return rows;
    rows.height = h;
    // Frame k is the k-th band from the top, as DrawFrame and the row tables
    // count. Rows past n × h (the remainder of the division) lie below the
    // last frame, first in memory, and belong to no frame.
    rows.firstTableRow = frame * h;
    rows.firstMemoryRow = pictureHeight - (frame + 1) * h;
    return rows;
}

std::string SequenceFrameName(std::string_view path, int frame)
{
    if (frame < 0)
        return {};
    const size_t separator = path.find_last_of("/\\");
    const size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
    char number[16];
    std::snprintf(number, sizeof number, "%.4d", frame);
    std::string name(path.substr(0, hasExtension ? dot : path.size()));
    name += number;
    if (hasExtension)
        name += path.substr(dot);
    return name;
}

size_t UncompressedHeaderSize(const uint8_t* picture)
{
    if (ReadLE32(picture + BIH_SIZE) != INFO_HEADER_SIZE)
        return 0;
    // The masks of a "TRLE" picture of 16 bits and more sit in its data area
    // and come back in front of the pixels only when its word 12 says so;
    // the caller has checked that those bytes exist.
    if (InfoCompression(picture) == TAG_TRLE && InfoBitCount(picture) > 8)
        return ReadLE32(picture + INFO_HEADER_SIZE + 12) == BI_BITFIELDS ? INFO_HEADER_SIZE + 12 : INFO_HEADER_SIZE;
    return PictureHeaderSize(picture);
}

bool WriteSpriteFile(const std::string& path, const uint8_t* picture, size_t available)
{
    if (!IsPictureWithin(picture, available))
        return false;
    const size_t size = PictureSize(picture);
    // A "TRLE" picture of 16 bits and more has at least its 16 leading data
    // words; without them it has no uncompressed header size to speak of.
    if (InfoCompression(picture) == TAG_TRLE && InfoBitCount(picture) > 8 && size < INFO_HEADER_SIZE + 16)
        return false;
    std::vector<uint8_t> file(FILE_HEADER_SIZE + size);
    BuildFileHeader(file.data(), size, UncompressedHeaderSize(picture));
    std::memcpy(file.data() + FILE_HEADER_SIZE, picture, size);
    return WriteFileAtomically(path, file.data(), file.size());
}

#include "avi/RiffLayout.h"

#include "common/ByteOrder.h"

#include <cstring>

namespace {

constexpr int kMaxDepth = 8;
constexpr size_t kChunkHeader = 8;

bool IsContainer(const uint8_t* id)
{
    return std::memcmp(id, "RIFF", 4) == 0 || std::memcmp(id, "LIST", 4) == 0;
}

// Checks the chunks in [begin, end); a container's data starts with its
// four-letter form type.
bool CheckChunks(const uint8_t* begin, const uint8_t* end, int depth)
{
    if (depth > kMaxDepth)
        return false;
    const uint8_t* at = begin;
    while (size_t(end - at) >= kChunkHeader) {
        const size_t size = ReadLE32(at + 4);
        const uint8_t* data = at + kChunkHeader;
        if (size > size_t(end - data))
            return false;
        if (IsContainer(at) && (size < 4 || !CheckChunks(data + 4, data + size, depth + 1)))
            return false;
        const size_t padded = size + (size & 1);
        at = padded <= size_t(end - data) ? data + padded : end;
    }
    // Fewer bytes than a chunk header left over: padding, not a chunk.
    return true;
}

} // namespace

RiffLayout CheckRiffLayout(const uint8_t* data, size_t size)
{
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0)
        return RiffLayout::NotRiff;
    return CheckChunks(data, data + size, 0) ? RiffLayout::Sound : RiffLayout::Damaged;
}

#include "media/CRiffParser.h"

#include "common/ByteOrder.h"

#include <algorithm>

namespace {
constexpr int kHeaderBytes = 8;
// Deeper nesting than this is no WAV file: refuse instead of growing.
constexpr size_t kMaxDepth = 16;
} // namespace

CRiffParser::CRiffParser(CStream* stream) : m_stream(stream)
{
    constexpr uint32_t kNeeded = STREAM_CAN_READ | STREAM_CAN_SEEK;
    m_usable = stream && stream->GetHealth() && (stream->GetCapabilities() & kNeeded) == kNeeded;
}

bool CRiffParser::ReadTag(uint32_t& tag)
{
    uint8_t bytes[4];
    if (m_stream->Read(bytes, 4) != 4)
        return false;
    tag = ReadLE32(bytes);
    return true;
}

bool CRiffParser::DescendForm(uint32_t formType)
{
    if (!m_usable || !m_stack.empty())
        return false;
    if (m_stream->Seek(0, STREAM_SEEK_SET) != 0)
        return false;
    uint32_t riff = 0;
    uint32_t size = 0;
    uint32_t type = 0;
    if (!ReadTag(riff) || !ReadTag(size) || !ReadTag(type))
        return false;
    if (riff != FourCC("RIFF") || type != formType)
        return false;
    m_stack.push_back({Kind::Form, 8, size});
    return true;
}

bool CRiffParser::FindChunk(uint32_t id)
{
    return Find(id, Kind::Chunk);
}

bool CRiffParser::FindList(uint32_t listType)
{
    return Find(listType, Kind::List);
}

bool CRiffParser::Find(uint32_t id, Kind kind)
{
    if (!m_usable || m_stack.empty() || m_stack.back().kind == Kind::Chunk || m_stack.size() >= kMaxDepth)
        return false;
    const Open& parent = m_stack.back();
    const int64_t streamEnd = m_stream->GetSize();
    const int64_t end = std::min(parent.start + static_cast<int64_t>(parent.size), streamEnd);
    // The form and a LIST start with their type field.
    int64_t position = parent.start + 4;
    while (position + kHeaderBytes <= end) {
        if (m_stream->Seek(position, STREAM_SEEK_SET) != position)
            return false;
        uint32_t chunkId = 0;
        uint32_t size = 0;
        if (!ReadTag(chunkId) || !ReadTag(size))
            return false;
        const int64_t dataStart = position + kHeaderBytes;
        if (kind == Kind::Chunk && chunkId == id) {
            m_stack.push_back({Kind::Chunk, dataStart, size});
            return true;
        }
        if (kind == Kind::List && chunkId == FourCC("LIST")) {
            uint32_t listType = 0;
            if (dataStart + 4 <= end && ReadTag(listType) && listType == id) {
                m_stack.push_back({Kind::List, dataStart, size});
                m_stream->Seek(dataStart, STREAM_SEEK_SET);
                return true;
            }
        }
        // Odd-sized chunks are followed by a pad byte.
        position = dataStart + static_cast<int64_t>(size) + (size & 1);
    }
    return false;
}

void CRiffParser::Ascend()
{
    if (m_stack.empty())
        return;
    m_stack.pop_back();
    m_stream->Seek(m_stack.empty() ? 0 : m_stack.back().start, STREAM_SEEK_SET);
}

int64_t CRiffParser::GetChunkStart() const
{
    return m_stack.empty() ? 0 : m_stack.back().start;
}

uint32_t CRiffParser::GetChunkSize() const
{
    return m_stack.empty() ? 0 : m_stack.back().size;
}

uint32_t CRiffParser::GetAvailableSize() const
{
    if (m_stack.empty())
        return 0;
    int64_t available = m_stream->GetSize() - m_stack.back().start;
    return static_cast<uint32_t>(std::clamp<int64_t>(available, 0, m_stack.back().size));
}

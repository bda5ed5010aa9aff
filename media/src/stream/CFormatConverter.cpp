#include "media/CFormatConverter.h"

#include "media/CAcmStream.h"

CFormatConverter::CFormatConverter(const WaveFormat& source, const WaveFormat& target, CStream* stream,
                                   StreamOwnership ownership)
    : m_stream(stream), m_owns(ownership == StreamOwnership::Owned), m_sourceOwned(m_owns)
{
    if (!stream || !stream->GetHealth())
        return;
    if (SameSampleLayout(source, target)) {
        m_usable = true;
        return;
    }
    WaveFormat current = source;
    if (!current.IsPcm()) {
        WaveFormat decoded = MakePcmFormat(current.samplesPerSec, 16, current.channels);
        if (!AddStage(current, decoded))
            return;
        current = decoded;
    }
    if (current.bitsPerSample != 16 || current.channels != target.channels ||
        (!target.IsPcm() && current.samplesPerSec != target.samplesPerSec)) {
        WaveFormat middle = MakePcmFormat(target.samplesPerSec, 16, target.channels);
        if (!AddStage(current, middle))
            return;
        current = middle;
    }
    if (!SameSampleLayout(current, target) && !AddStage(current, target))
        return;
    m_usable = true;
}

bool CFormatConverter::AddStage(const WaveFormat& from, const WaveFormat& to)
{
    // The first stage owns the source only when the caller handed it over;
    // every later stage owns the stage before it.
    auto ownership = m_stageCount == 0 && !m_sourceOwned ? StreamOwnership::Borrowed : StreamOwnership::Owned;
    auto* stage = new CAcmStream(from, to, m_stream, ownership);
    m_stream = stage;
    m_owns = true;
    ++m_stageCount;
    return stage->GetHealth() != 0;
}

CFormatConverter::~CFormatConverter()
{
    if (m_owns)
        delete m_stream;
}

size_t CFormatConverter::Read(void* buffer, size_t length)
{
    return m_usable ? m_stream->Read(buffer, length) : 0;
}

int64_t CFormatConverter::Seek(int64_t offset, int origin)
{
    return m_usable ? m_stream->Seek(offset, origin) : 0;
}

bool CFormatConverter::IsAtEnd()
{
    return !m_usable || m_stream->IsAtEnd();
}

uint32_t CFormatConverter::GetCapabilities() const
{
    return m_usable ? m_stream->GetCapabilities() & (STREAM_CAN_READ | STREAM_CAN_SEEK | STREAM_HAS_SIZE) : 0;
}

int64_t CFormatConverter::GetSize()
{
    return m_usable ? m_stream->GetSize() : 0;
}

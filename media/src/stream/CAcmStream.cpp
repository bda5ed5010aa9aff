#include "media/CAcmStream.h"

#include "CResampler.h"
#include "common/ByteOrder.h"
#include "media/G711.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kMaxChunkBytes = 256 * 1024;

bool IsLaw(const WaveFormat& format)
{
    return (format.formatTag == WAVE_FORMAT_MULAW || format.formatTag == WAVE_FORMAT_ALAW) &&
           format.bitsPerSample == 8 && format.channels >= 1 && format.blockAlign == format.channels;
}

bool IsPcm16Like(const WaveFormat& law, const WaveFormat& pcm)
{
    return pcm.IsPcm() && pcm.bitsPerSample == 16 && pcm.channels == law.channels &&
           pcm.samplesPerSec == law.samplesPerSec && pcm.blockAlign == 2 * pcm.channels;
}

bool HasUsableRates(const WaveFormat& format)
{
    return format.samplesPerSec > 0 && format.avgBytesPerSec > 0 && format.blockAlign > 0 && format.channels > 0;
}

int64_t MulDiv(int64_t value, uint32_t multiplier, uint32_t divisor)
{
    return static_cast<int64_t>(static_cast<__int128>(value) * multiplier / divisor);
}
} // namespace

CAcmStream::Job CAcmStream::JobFor(const WaveFormat& source, const WaveFormat& target)
{
    if (!HasUsableRates(source) || !HasUsableRates(target))
        return Job::None;
    if (IsLaw(source))
        return IsPcm16Like(source, target) ? Job::DecodeLaw : Job::None;
    if (IsLaw(target))
        return IsPcm16Like(target, source) ? Job::EncodeLaw : Job::None;
    if (CResampler::Supports(source) && CResampler::Supports(target))
        return Job::Resample;
    return Job::None;
}

bool CAcmStream::CanConvert(const WaveFormat& source, const WaveFormat& target)
{
    return JobFor(source, target) != Job::None;
}

CAcmStream::CAcmStream(const WaveFormat& source, const WaveFormat& target, CStream* stream, StreamOwnership ownership)
    : m_source(source), m_target(target), m_stream(stream), m_owns(ownership == StreamOwnership::Owned)
{
    m_job = JobFor(source, target);
    if (!stream || !stream->GetHealth() || m_job == Job::None)
        return;
    if (m_job == Job::Resample) {
        m_resampler = std::make_unique<CResampler>();
        if (!m_resampler->Open(source, target))
            return;
    }
    // A quarter of a second of source, in whole blocks, at least one block;
    // a header claiming an absurd byte rate does not size the buffer.
    size_t chunk = std::min<size_t>(source.avgBytesPerSec / 4, kMaxChunkBytes);
    chunk -= chunk % source.blockAlign;
    m_chunkBytes = std::max<size_t>(chunk, source.blockAlign);
    m_sourceBuffer.resize(m_chunkBytes);
    m_total = ToTarget(stream->GetSize());
    stream->Seek(0, STREAM_SEEK_SET);
    m_usable = true;
}

CAcmStream::~CAcmStream()
{
    if (m_owns)
        delete m_stream;
}

int64_t CAcmStream::ToTarget(int64_t sourceBytes) const
{
    int64_t bytes = MulDiv(sourceBytes, m_target.avgBytesPerSec, m_source.avgBytesPerSec);
    return bytes - bytes % m_target.blockAlign;
}

int64_t CAcmStream::ToSource(int64_t targetBytes) const
{
    int64_t bytes = MulDiv(targetBytes, m_source.avgBytesPerSec, m_target.avgBytesPerSec);
    return bytes - bytes % m_source.blockAlign;
}

uint8_t CAcmStream::SilenceByte() const
{
    if (m_target.formatTag == WAVE_FORMAT_MULAW)
        return MULAW_SILENCE;
    if (m_target.formatTag == WAVE_FORMAT_ALAW)
        return ALAW_SILENCE;
    return m_target.IsPcm() && m_target.bitsPerSample == 8 ? 0x80 : 0x00;
}

void CAcmStream::ConvertChunk(const uint8_t* bytes, size_t frames)
{
    const size_t samples = frames * m_source.channels;
    switch (m_job) {
    case Job::DecodeLaw: {
        const bool mu = m_source.formatTag == WAVE_FORMAT_MULAW;
        size_t start = m_converted.size();
        m_converted.resize(start + samples * 2);
        for (size_t i = 0; i < samples; ++i)
            WriteLE16(&m_converted[start + 2 * i],
                      static_cast<uint16_t>(mu ? MuLawToLinear(bytes[i]) : ALawToLinear(bytes[i])));
        break;
    }
    case Job::EncodeLaw: {
        const bool mu = m_target.formatTag == WAVE_FORMAT_MULAW;
        size_t start = m_converted.size();
        m_converted.resize(start + samples);
        for (size_t i = 0; i < samples; ++i) {
            auto sample = static_cast<int16_t>(ReadLE16(bytes + 2 * i));
            m_converted[start + i] = mu ? LinearToMuLaw(sample) : LinearToALaw(sample);
        }
        break;
    }
    case Job::Resample:
        if (frames)
            m_resampler->Convert(bytes, frames, m_converted);
        break;
    case Job::None:
        break;
    }
}

bool CAcmStream::Refill()
{
    m_fresh = false;
    m_converted.clear();
    m_readPosition = 0;
    while (m_converted.empty() && !m_sourceEnded) {
        size_t got = m_stream->Read(m_sourceBuffer.data() + m_carry, m_chunkBytes - m_carry);
        size_t filled = m_carry + got;
        size_t whole = filled - filled % m_source.blockAlign;
        ConvertChunk(m_sourceBuffer.data(), whole / m_source.blockAlign);
        // Keep a partial block for the next chunk.
        m_carry = filled - whole;
        if (m_carry)
            std::memmove(m_sourceBuffer.data(), m_sourceBuffer.data() + whole, m_carry);
        if (got == 0) {
            // The end of the source: the filter's tail follows, a partial
            // block left over is dropped.
            m_sourceEnded = true;
            m_carry = 0;
            if (m_resampler)
                m_resampler->Flush(m_converted);
        }
    }
    return !m_converted.empty();
}

size_t CAcmStream::Read(void* buffer, size_t length)
{
    if (!m_usable || m_position >= m_total)
        return 0;
    length = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(length), m_total - m_position));
    auto* out = static_cast<uint8_t*>(buffer);
    size_t delivered = 0;
    while (delivered < length) {
        if (m_readPosition >= m_converted.size() && !Refill()) {
            // The converted data ran short of the promised size: silence.
            std::memset(out + delivered, SilenceByte(), length - delivered);
            delivered = length;
            break;
        }
        size_t count = std::min(length - delivered, m_converted.size() - m_readPosition);
        std::memcpy(out + delivered, m_converted.data() + m_readPosition, count);
        m_readPosition += count;
        delivered += count;
    }
    m_position += static_cast<int64_t>(delivered);
    return delivered;
}

int64_t CAcmStream::Seek(int64_t offset, int origin)
{
    if (!m_usable)
        return 0;
    if (origin == STREAM_SEEK_CUR && offset == 0)
        return m_position;
    int64_t base = origin == STREAM_SEEK_CUR ? m_position : origin == STREAM_SEEK_END ? m_total : 0;
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : m_total;
    target = std::clamp<int64_t>(target, 0, m_total);
    int64_t sourcePosition = m_stream->Seek(ToSource(target), STREAM_SEEK_SET);
    m_converted.clear();
    m_readPosition = 0;
    m_carry = 0;
    m_sourceEnded = false;
    // A filter that has seen no input yet needs no reset (rebuilding it is
    // the costly part of a seek, and every conversion starts with one).
    if (m_resampler && !m_fresh)
        m_resampler->Reset();
    m_fresh = true;
    m_position = std::min(ToTarget(sourcePosition), m_total);
    return m_position;
}

bool CAcmStream::IsAtEnd()
{
    return !m_usable || m_position >= m_total;
}

uint32_t CAcmStream::GetCapabilities() const
{
    return m_usable ? STREAM_CAN_READ | STREAM_CAN_SEEK | STREAM_HAS_SIZE : 0;
}

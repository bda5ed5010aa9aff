#include "media/CSampleCodeStream.h"

#include "common/ByteOrder.h"

bool IsValidSampleCode(int code)
{
    return code >= SAMPLE_CODE_S8 && code <= SAMPLE_CODE_U16BE;
}

int SampleCodeBytes(int code)
{
    if (!IsValidSampleCode(code))
        return 0;
    return code <= SAMPLE_CODE_U8 ? 1 : 2;
}

namespace {
bool IsBigEndian(int code) { return code == SAMPLE_CODE_S16BE || code == SAMPLE_CODE_U16BE; }
bool IsUnsigned(int code) { return code == SAMPLE_CODE_U8 || code == SAMPLE_CODE_U16LE || code == SAMPLE_CODE_U16BE; }
} // namespace

CSampleCodeStream::CSampleCodeStream(CStream* source, int fromCode, int toCode, StreamOwnership ownership)
    : m_source(source), m_owns(ownership == StreamOwnership::Owned), m_from(fromCode), m_to(toCode)
{
    m_width = SampleCodeBytes(fromCode);
    m_usable = source && source->GetHealth() && m_width != 0 && m_width == SampleCodeBytes(toCode);
}

CSampleCodeStream::~CSampleCodeStream()
{
    if (m_owns)
        delete m_source;
}

void CSampleCodeStream::ConvertInPlace(uint8_t* bytes, size_t count, int fromCode, int toCode)
{
    if (fromCode == toCode)
        return;
    if (SampleCodeBytes(fromCode) == 1) {
        // Signed and unsigned 8-bit differ by the offset 0x80.
        if (IsUnsigned(fromCode) != IsUnsigned(toCode))
            for (size_t i = 0; i < count; ++i)
                bytes[i] = static_cast<uint8_t>(bytes[i] + 0x80);
        return;
    }
    const uint16_t fromOffset = IsUnsigned(fromCode) ? 0x8000 : 0;
    const uint16_t toOffset = IsUnsigned(toCode) ? 0x8000 : 0;
    for (size_t i = 0; i + 1 < count; i += 2) {
        uint16_t raw = IsBigEndian(fromCode) ? ReadBE16(bytes + i) : ReadLE16(bytes + i);
        // The signed value's bit pattern, then re-biased for the target.
        uint16_t value = static_cast<uint16_t>(raw - fromOffset + toOffset);
        if (IsBigEndian(toCode))
            WriteBE16(bytes + i, value);
        else
            WriteLE16(bytes + i, value);
    }
}

size_t CSampleCodeStream::Read(void* buffer, size_t length)
{
    if (!m_usable)
        return 0;
    length -= length % static_cast<size_t>(m_width);
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    // The source may return an odd count; complete the last sample so that
    // the stream stays aligned.
    while (total < length) {
        size_t got = m_source->Read(bytes + total, length - total);
        if (got == 0)
            break;
        total += got;
        if (total % static_cast<size_t>(m_width) == 0)
            break;
    }
    size_t whole = total - total % static_cast<size_t>(m_width);
    if (whole != total)
        m_source->Seek(-static_cast<int64_t>(total - whole), STREAM_SEEK_CUR);
    ConvertInPlace(bytes, whole, m_from, m_to);
    return whole;
}

int64_t CSampleCodeStream::Seek(int64_t offset, int origin)
{
    if (!m_usable)
        return 0;
    if (origin == STREAM_SEEK_CUR && offset == 0)
        return m_source->Tell();
    int64_t position = m_source->Seek(offset, origin);
    int64_t aligned = position - position % m_width;
    return aligned == position ? position : m_source->Seek(aligned, STREAM_SEEK_SET);
}

bool CSampleCodeStream::IsAtEnd()
{
    if (!m_usable)
        return true;
    return m_source->IsAtEnd() || GetSize() - m_source->Tell() < m_width;
}

uint32_t CSampleCodeStream::GetCapabilities() const
{
    return m_usable ? (m_source->GetCapabilities() & (STREAM_CAN_READ | STREAM_CAN_SEEK | STREAM_HAS_SIZE)) : 0;
}

int64_t CSampleCodeStream::GetSize()
{
    if (!m_usable)
        return 0;
    int64_t size = m_source->GetSize();
    return size - size % m_width;
}

#include "media/CMpegAudioStream.h"

#include "CMpegDecoder.h"

CMpegAudioStream::CMpegAudioStream(CMemoryBlock* source) : m_source(source), m_decoder(std::make_unique<CMpegDecoder>())
{
    if (!source)
        return;
    const uint8_t* data = source->Lock();
    if (!data)
        return;
    m_usable = m_decoder->Open(data, source->Size());
    if (!m_usable)
        source->Unlock();
}

CMpegAudioStream::~CMpegAudioStream()
{
    if (m_usable) {
        m_decoder->Close();
        m_source->Unlock();
    }
    delete m_source;
}

size_t CMpegAudioStream::Read(void* buffer, size_t length)
{
    return m_usable ? m_decoder->Read(buffer, length) : 0;
}

int64_t CMpegAudioStream::Seek(int64_t offset, int origin)
{
    return m_usable ? m_decoder->Seek(offset, origin) : 0;
}

bool CMpegAudioStream::IsAtEnd()
{
    return !m_usable || m_decoder->IsAtEnd();
}

uint32_t CMpegAudioStream::GetCapabilities() const
{
    return m_usable ? STREAM_CAN_READ | STREAM_CAN_SEEK | STREAM_HAS_SIZE : 0;
}

int64_t CMpegAudioStream::GetSize()
{
    return m_usable ? m_decoder->GetUncompressedSize() : 0;
}

bool CMpegAudioStream::GetInfo(MpegAudioInfo& info) const
{
    if (!m_usable || info.size != sizeof(MpegAudioInfo))
        return false;
    m_decoder->GetInfo(info);
    return true;
}

void CMpegAudioStream::SetDecoderLibraryName(const char* name)
{
    CMpegDecoder::SetLibraryName(name);
}

bool CMpegAudioStream::IsDecoderLibraryLoaded()
{
    return CMpegDecoder::IsLibraryLoaded();
}

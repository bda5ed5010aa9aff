#include "editor/CAviFile.h"

#include "CAviReader.h"
#include "CAviWriter.h"
#include "PackedFrames.h"
#include "common/CMemoryBlock.h"

static_assert(CAviFile::kFramesPerSecond == CAviWriter::kFramesPerSecond);

CAviFile::CAviFile() : m_maxFrameBytes(kMaxFrameBytes) {}

CAviFile::~CAviFile()
{
    CloseRead();
    Discard();
}

void CAviFile::CloseRead()
{
    m_reader.reset();
    if (m_mapped) {
        m_mapped->Unlock();
        delete m_mapped;
        m_mapped = nullptr;
    }
    m_frameCount = 0;
    m_nextFrame = 0;
}

EditorStatus CAviFile::OpenRead(const std::string& path)
{
    CloseRead();
    Discard();
    CMemoryBlock* block = CMemoryBlock::OpenFile(path, FileAccess::ReadOnly);
    const uint8_t* data = block ? block->Lock() : nullptr;
    if (!data) {
        delete block;
        // An empty file maps to nothing: it opens, but holds no video.
        return m_lastStatus = block ? EditorStatus::NotAVideo : EditorStatus::CannotOpenFile;
    }
    m_mapped = block;
    return OpenReader(data, block->Size());
}

EditorStatus CAviFile::OpenReadMemory(const uint8_t* data, size_t size)
{
    CloseRead();
    Discard();
    return OpenReader(data, size);
}

EditorStatus CAviFile::OpenReader(const uint8_t* data, size_t size)
{
    EditorStatus status = CAviReader::Open(data, size, m_maxFrameBytes, m_reader);
    if (status == EditorStatus::Ok)
        status = m_reader->CountFrames(m_frameCount);
    if (status != EditorStatus::Ok)
        CloseRead();
    return m_lastStatus = status;
}

const uint8_t* CAviFile::GetFrame(int index, size_t* size)
{
    if (size)
        *size = 0;
    if (!m_reader || index < 0 || index >= m_frameCount) {
        m_lastStatus = EditorStatus::NothingToDo;
        return nullptr;
    }
    EditorStatus status = EditorStatus::Ok;
    if (index < m_nextFrame) {
        m_nextFrame = 0;
        status = m_reader->Rewind();
    }
    while (status == EditorStatus::Ok && m_nextFrame <= index) {
        status = m_reader->Next();
        ++m_nextFrame;
    }
    m_lastStatus = status;
    if (status != EditorStatus::Ok) {
        // The next call starts again from the beginning.
        m_nextFrame = m_frameCount;
        return nullptr;
    }
    if (size)
        *size = m_reader->Picture().size();
    return m_reader->Picture().data();
}

bool CAviFile::IsForeignCodec() const
{
    return m_reader && !m_reader->IsUncompressed();
}

bool CAviFile::RepeatsPreviousFrame() const
{
    return m_reader && m_lastStatus == EditorStatus::Ok && m_reader->Repeated();
}

EditorStatus CAviFile::OpenWrite(const std::string& path, const uint8_t* format, size_t size)
{
    CloseRead();
    Discard();
    return m_lastStatus = CAviWriter::Create(path, format, size, m_writer);
}

EditorStatus CAviFile::WriteFrame(const uint8_t* picture, size_t size)
{
    if (!m_writer)
        return m_lastStatus = EditorStatus::CannotWriteFile;
    return m_lastStatus = m_writer->Write(picture, size);
}

EditorStatus CAviFile::Close()
{
    EditorStatus status = EditorStatus::Ok;
    if (m_writer)
        status = m_writer->Finish();
    m_writer.reset();
    CloseRead();
    return m_lastStatus = status;
}

void CAviFile::Discard()
{
    m_writer.reset();
}

#include "media/CAudioFile.h"

#include "AudioContent.h"
#include "AudioFileReaders.h"
#include "AudioFileWriters.h"
#include "AudioProgress.h"
#include "media/CBlockStream.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <unistd.h>

namespace {
// The extension after the last dot of the file's own name.
std::string_view ExtensionOf(std::string_view name)
{
    size_t slash = name.find_last_of('/');
    std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    size_t dot = base.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : base.substr(dot + 1);
}

// The file's own name without folder and extension.
std::string_view BaseNameOf(std::string_view name)
{
    size_t slash = name.find_last_of('/');
    std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    size_t dot = base.find_last_of('.');
    return dot == std::string_view::npos ? base : base.substr(0, dot);
}

bool ExtensionIs(std::string_view extension, const char* candidate)
{
    return extension.size() == std::strlen(candidate) &&
           ::strncasecmp(extension.data(), candidate, extension.size()) == 0;
}

int OpenTypeByExtension(std::string_view name)
{
    std::string_view ext = ExtensionOf(name);
    if (ExtensionIs(ext, "wav"))
        return AUDIO_TYPE_WAV;
    if (ExtensionIs(ext, "au") || ExtensionIs(ext, "snd"))
        return AUDIO_TYPE_AU;
    if (ExtensionIs(ext, "aif") || ExtensionIs(ext, "aiff"))
        return AUDIO_TYPE_AIFF;
    for (const char* mpeg : {"mp", "mpa", "mp1", "mp2", "mp3"})
        if (ExtensionIs(ext, mpeg))
            return AUDIO_TYPE_MPEG;
    return AUDIO_TYPE_WAV;
}

int SaveTypeByExtension(std::string_view name)
{
    std::string_view ext = ExtensionOf(name);
    if (ExtensionIs(ext, "wav"))
        return AUDIO_SAVE_WAV;
    if (ExtensionIs(ext, "au") || ExtensionIs(ext, "snd"))
        return AUDIO_SAVE_AU;
    if (ExtensionIs(ext, "aif") || ExtensionIs(ext, "aiff"))
        return AUDIO_SAVE_AIFF;
    return -1;
}

int InfoIndex(std::string_view tag)
{
    for (size_t i = 0; i < AUDIO_INFO_TAG_COUNT; ++i)
        if (tag == AUDIO_INFO_TAGS[i])
            return static_cast<int>(i);
    return -1;
}
} // namespace

CAudioFile::CAudioFile(int flag) : m_flag(flag) {}

CAudioFile::~CAudioFile()
{
    Close();
}

void CAudioFile::Close()
{
    m_dataStream.reset();
    if (m_memoryLocked && m_memoryData)
        m_memoryData->Unlock();
    m_memoryLocked = false;
    m_memoryData.reset();
    m_memoryParent.reset();
    m_format = WaveFormat{};
    m_formatExtra.clear();
    m_frameCode = 0;
    m_fileKind = AUDIO_FILE_WAV;
    m_mpegInfo = MpegAudioInfo{};
    for (CSmallString& text : m_info)
        text.Assign({});
    if (!m_deleteOnClose.empty()) {
        ::unlink(m_deleteOnClose.c_str());
        m_deleteOnClose.clear();
    }
    m_state = AUDIO_STATE_EMPTY;
}

int CAudioFile::Open(const std::string& name, uint32_t mode, const RawPcmDesc* raw, AudioProgressCallback progress,
                     void* context)
{
    return OpenSource(&name, nullptr, mode & ~AUDIO_OPEN_BLOCK, raw, progress, context);
}

int CAudioFile::Open(CMemoryBlock* block, uint32_t mode, const RawPcmDesc* raw, AudioProgressCallback progress,
                     void* context)
{
    return OpenSource(nullptr, block, mode | AUDIO_OPEN_BLOCK, raw, progress, context);
}

int CAudioFile::OpenSource(const std::string* name, CMemoryBlock* block, uint32_t mode, const RawPcmDesc* raw,
                           AudioProgressCallback progressCallback, void* context)
{
    Close();
    const AudioProgress progress{progressCallback, context};
    // A block handed over is ours whatever happens next.
    std::unique_ptr<CMemoryBlock> ownedBlock(block && (mode & AUDIO_OPEN_OWN_BLOCK) ? block : nullptr);
    if (name && (mode & AUDIO_OPEN_DELETE_ON_CLOSE))
        m_deleteOnClose = *name;

    int type = static_cast<int>(mode >> 16);
    if (type == AUDIO_TYPE_BY_EXTENSION)
        type = OpenTypeByExtension(name ? std::string_view(*name) : std::string_view());
    if (type < AUDIO_TYPE_WAV || type > AUDIO_TYPE_RAW) {
        Close();
        return AUDIO_ERR_FILE_TYPE;
    }

    // The source block: a mapped file, the caller's block, or a window onto it.
    CMemoryBlock* source = nullptr;
    if (name) {
        const bool readOnly = type != AUDIO_TYPE_WAV || (mode & AUDIO_OPEN_READ_ONLY);
        source = CMemoryBlock::OpenFile(*name, readOnly ? FileAccess::ReadOnly : FileAccess::ReadWrite);
    } else if (ownedBlock) {
        source = ownedBlock.release();
    } else if (block) {
        source = CMemoryBlock::Window(block, 0, block->Size());
    }
    if (!source || !source->Lock()) {
        delete source;
        Close();
        return AUDIO_ERR_OPEN;
    }
    source->Unlock();

    const bool headerOnly = mode & AUDIO_OPEN_HEADER_ONLY;
    if (type == AUDIO_TYPE_WAV && (mode & AUDIO_OPEN_ACCESS_MASK) == AUDIO_OPEN_MEMORY && !headerOnly)
        return OpenWavInMemory(source, mode, progress);

    AudioContent content;
    int result = AUDIO_ERR_FILE_TYPE;
    switch (type) {
    case AUDIO_TYPE_WAV:
        result = ReadWavStreamed(source, headerOnly, content);
        break;
    case AUDIO_TYPE_AU:
        result = ReadAu(source, headerOnly, content);
        break;
    case AUDIO_TYPE_AIFF:
        result = ReadAiff(source, headerOnly, content);
        break;
    case AUDIO_TYPE_MPEG:
        result = ReadMpeg(source, headerOnly, content);
        break;
    case AUDIO_TYPE_RAW:
        result = ReadRawPcm(source, raw, headerOnly, content);
        break;
    }
    if (result != AUDIO_OK) {
        Close();
        return result;
    }
    m_format = content.format;
    m_formatExtra = std::move(content.formatExtra);
    m_frameCode = FrameCodeOf(m_format);
    m_fileKind = content.fileKind;
    m_mpegInfo = content.mpegInfo;
    m_info = content.info;
    m_dataStream = std::move(content.dataStream);
    if (headerOnly) {
        m_state = AUDIO_STATE_HEADER;
        return AUDIO_OK;
    }
    m_dataStream->Seek(0, STREAM_SEEK_SET);
    m_state = AUDIO_STATE_STREAM;

    if (mode & (type == AUDIO_TYPE_WAV ? AUDIO_OPEN_WAV_MEMORY_STEP : AUDIO_OPEN_MEMORY_STEP)) {
        result = LoadIntoMemory(progress);
        if (result != AUDIO_OK)
            Close();
    }
    return result;
}

int CAudioFile::OpenWavInMemory(CMemoryBlock* source, uint32_t mode, const AudioProgress& progress)
{
    std::unique_ptr<CMemoryBlock> file(source);
    const uint8_t* bytes = file->Lock();
    if (!bytes) {
        Close();
        return AUDIO_ERR_OPEN;
    }
    const size_t size = file->Size();
    // Parse the bytes where they are first: a compressed file may have to be
    // converted instead of loaded.
    WavLayout layout;
    int result;
    {
        CBlockStream stream(file.get(), BlockStreamMode::Read, BlockOwnership::Borrowed);
        result = ParseWavLayout(&stream, layout);
    }
    if (result != AUDIO_OK) {
        file->Unlock();
        Close();
        return AUDIO_ERR_PARSE_MEMORY;
    }

    if (!layout.format.IsPcm() && (mode & AUDIO_OPEN_CONVERT)) {
        file->Unlock();
        CAudioFile compressed;
        compressed.SetTempFolder(m_tempFolder);
        std::string keepForDeletion = m_deleteOnClose;
        m_deleteOnClose.clear();
        result = compressed.Open(file.release(), AUDIO_OPEN_OWN_BLOCK | AUDIO_OPEN_STREAM | AudioModeType(AUDIO_TYPE_WAV));
        int fd = -1;
        std::string temporary = result == AUDIO_OK ? MakeTemporaryFile(fd) : std::string();
        if (fd >= 0)
            ::close(fd);
        if (result == AUDIO_OK && temporary.empty())
            result = AUDIO_ERR_CREATE;
        if (result == AUDIO_OK) {
            AudioSaveOption option;
            WaveFormat pcm = MakePcmFormat(layout.format.samplesPerSec, 16, layout.format.channels);
            option.targetFormat = &pcm;
            result = compressed.SaveWith(temporary, AudioModeType(AUDIO_SAVE_WAV), option, progress.Sub(0, 50));
        }
        compressed.Close();
        if (!keepForDeletion.empty())
            ::unlink(keepForDeletion.c_str());
        if (result != AUDIO_OK) {
            if (!temporary.empty())
                ::unlink(temporary.c_str());
            Close();
            return result;
        }
        CMemoryBlock* converted = CMemoryBlock::OpenFile(temporary, FileAccess::ReadOnly);
        if (!converted) {
            ::unlink(temporary.c_str());
            Close();
            return AUDIO_ERR_PARSE_MEMORY;
        }
        m_deleteOnClose = temporary;
        AudioProgress second = progress.Sub(50, 100);
        return OpenWavInMemory(converted, mode & ~AUDIO_OPEN_CONVERT, second);
    }

    // Copy the file into memory of its own, in pieces, reporting progress.
    std::unique_ptr<CMemoryBlock> copy(CMemoryBlock::Allocate(size));
    uint8_t* target = copy ? copy->Lock() : nullptr;
    if (!target) {
        file->Unlock();
        Close();
        return AUDIO_ERR_NO_MEMORY;
    }
    for (size_t done = 0; done < size;) {
        size_t piece = std::min(AUDIO_COPY_BLOCK, size - done);
        std::memcpy(target + done, bytes + done, piece);
        done += piece;
        progress.ReportFraction(0, done, size);
    }
    copy->Unlock();
    file->Unlock();
    file.reset();

    m_memoryData.reset(CMemoryBlock::Window(copy.get(), static_cast<size_t>(layout.dataStart),
                                            static_cast<size_t>(layout.dataSize)));
    if (!m_memoryData || (layout.dataSize && !m_memoryData->Lock())) {
        m_memoryData.reset();
        Close();
        return AUDIO_ERR_PARSE_MEMORY;
    }
    m_memoryLocked = layout.dataSize != 0;
    m_memoryParent = std::move(copy);
    m_format = layout.format;
    m_formatExtra = std::move(layout.formatExtra);
    m_info = layout.info;
    m_frameCode = FrameCodeOf(m_format);
    m_fileKind = AUDIO_FILE_WAV;
    m_state = AUDIO_STATE_MEMORY;
    return AUDIO_OK;
}

std::string CAudioFile::MakeTemporaryFile(int& fd) const
{
    std::string name = (m_tempFolder.empty() ? std::string(".") : m_tempFolder) + "/WAVXXXXXX";
    fd = ::mkstemp(name.data());
    return fd < 0 ? std::string() : name;
}

int CAudioFile::LoadIntoMemory(AudioProgressCallback progress, void* context)
{
    return LoadIntoMemory(AudioProgress{progress, context});
}

int CAudioFile::LoadIntoMemory(const AudioProgress& progress)
{
    if (m_state != AUDIO_STATE_STREAM || !m_dataStream)
        return AUDIO_ERR_NOT_STREAMED;
    // The bytes go to a fresh file in the temporary folder: its name is
    // reserved first, then written whole over the reservation.
    int fd = -1;
    const std::string temporary = MakeTemporaryFile(fd);
    if (fd < 0)
        return AUDIO_ERR_CREATE;
    ::close(fd);
    CStream* stream = m_dataStream.get();
    stream->Seek(0, STREAM_SEEK_SET);
    CAtomicOutputFile file;
    if (!file.Create(temporary)) {
        ::unlink(temporary.c_str());
        return AUDIO_ERR_CREATE;
    }
    const int64_t done = CopyToFile(stream, file, progress, AUDIO_PROGRESS_LOAD);
    if (done < 0 || !file.Commit()) {
        ::unlink(temporary.c_str());
        return AUDIO_ERR_TEMP_WRITE;
    }
    // The mapping keeps the bytes after the name is gone, so the file is
    // removed now: it disappears with the data even if the program dies.
    std::unique_ptr<CMemoryBlock> mapped;
    if (done)
        mapped.reset(CMemoryBlock::OpenFile(temporary, FileAccess::ReadOnly));
    else
        mapped.reset(CMemoryBlock::Allocate(0));
    const bool locked = mapped && done && mapped->Lock();
    ::unlink(temporary.c_str());
    if (!mapped || (done && !locked))
        return AUDIO_ERR_PARSE_MEMORY;
    m_memoryData = std::move(mapped);
    m_memoryLocked = locked;
    m_dataStream.reset();
    m_state = AUDIO_STATE_MEMORY;
    m_fileKind = AUDIO_FILE_WAV;
    return AUDIO_OK;
}

int CAudioFile::Attach(const WaveFormat& format, CMemoryBlock* block, BlockOwnership ownership)
{
    if (!block)
        return 0;
    std::unique_ptr<CMemoryBlock> data(ownership == BlockOwnership::Owned ? block
                                                                         : CMemoryBlock::Window(block, 0, block->Size()));
    const bool locked = data && data->Size() && data->Lock();
    if (!data || (data->Size() && !locked)) {
        if (ownership == BlockOwnership::Owned)
            (void)data.release();
        return 0;
    }
    Close();
    m_format = format;
    m_frameCode = FrameCodeOf(format);
    m_memoryData = std::move(data);
    m_memoryLocked = locked;
    m_fileKind = AUDIO_FILE_WAV;
    m_state = AUDIO_STATE_MEMORY;
    return 1;
}

CStream* CAudioFile::OpenDataReader(std::unique_ptr<CStream>& holder)
{
    if (m_state == AUDIO_STATE_STREAM) {
        m_dataStream->Seek(0, STREAM_SEEK_SET);
        return m_dataStream.get();
    }
    if (m_state == AUDIO_STATE_MEMORY) {
        holder = std::make_unique<CBlockStream>(m_memoryData.get(), BlockStreamMode::Read, BlockOwnership::Borrowed);
        return holder.get();
    }
    return nullptr;
}

int CAudioFile::Save(const std::string& name, uint32_t mode, const AudioSaveOption& option,
                     AudioProgressCallback progress, void* context)
{
    return SaveWith(name, mode, option, AudioProgress{progress, context});
}

int CAudioFile::SaveWith(const std::string& name, uint32_t mode, const AudioSaveOption& option,
                         const AudioProgress& progress)
{
    if (m_state != AUDIO_STATE_MEMORY && m_state != AUDIO_STATE_STREAM)
        return AUDIO_ERR_NOTHING;
    int type = static_cast<int>(mode >> 16);
    if (type == AUDIO_SAVE_BY_EXTENSION)
        type = SaveTypeByExtension(name);
    if (type < AUDIO_SAVE_WAV || type > AUDIO_SAVE_RAW)
        return AUDIO_ERR_SAVE_TYPE;
    std::unique_ptr<CStream> holder;
    CStream* data = OpenDataReader(holder);
    if (!data)
        return AUDIO_ERR_NOTHING;
    switch (type) {
    case AUDIO_SAVE_WAV: {
        const int nameIndex = InfoIndex("INAM");
        if (m_info[static_cast<size_t>(nameIndex)].IsEmpty())
            m_info[static_cast<size_t>(nameIndex)].Assign(BaseNameOf(name));
        if (option.targetFormat)
            return WriteWavFile(name, m_format, data, *option.targetFormat, option.targetExtra, m_info, progress);
        return WriteWavFile(name, m_format, data, m_format, m_formatExtra, m_info, progress);
    }
    case AUDIO_SAVE_AU:
        return WriteAuFile(name, m_format, data, option.auEncoding, progress);
    case AUDIO_SAVE_AIFF:
        return WriteAiffFile(name, m_format, data, progress);
    default:
        return WriteRawPcmFile(name, m_format, data, option.sampleCode, progress);
    }
}

uint32_t CAudioFile::GetFrameCount() const
{
    int64_t bytes = 0;
    if (m_state == AUDIO_STATE_MEMORY)
        bytes = static_cast<int64_t>(m_memoryData->Size());
    else if (m_state == AUDIO_STATE_STREAM)
        bytes = m_dataStream->GetSize();
    else
        return 0;
    if (int frameBytes = FrameCodeBytes(m_frameCode))
        return static_cast<uint32_t>(bytes / frameBytes);
    // Other layouts: known only for data in memory, through the byte rate.
    if (m_state != AUDIO_STATE_MEMORY || m_format.avgBytesPerSec == 0)
        return 0;
    return static_cast<uint32_t>(static_cast<__int128>(bytes) * m_format.samplesPerSec / m_format.avgBytesPerSec);
}

std::string_view CAudioFile::GetInfoText(std::string_view tag) const
{
    int index = InfoIndex(tag);
    return index < 0 ? std::string_view() : m_info[static_cast<size_t>(index)].View();
}

bool CAudioFile::SetInfoText(std::string_view tag, std::string_view text)
{
    int index = InfoIndex(tag);
    return index >= 0 && m_info[static_cast<size_t>(index)].Assign(text);
}

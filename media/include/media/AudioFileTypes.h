#pragma once
// Constants and small records of the audio file interface: open and save
// modes, file types, result codes, the headerless PCM description, progress
// callbacks and the INFO text tags.

#include <cstddef>
#include <cstdint>

// Result codes of CAudioFile (0 = success).
enum AudioResult : int {
    AUDIO_OK = 0,
    AUDIO_ERR_ENCODING = 1,        // unsupported sample encoding, or a conversion failed
    AUDIO_ERR_SAVE_TYPE = 2,       // unsupported type for saving, or a bad RawPcmDesc
    AUDIO_ERR_FILE_TYPE = 3,       // unrecognised file type when opening
    AUDIO_ERR_OPEN = 4,            // the source failed to open or to map
    AUDIO_ERR_PARSE_MEMORY = 5,    // a WAV loaded into memory failed to parse, or a temporary file failed to map
    AUDIO_ERR_NO_MEMORY = 6,
    AUDIO_ERR_CREATE = 7,          // the output or temporary file could not be created
    AUDIO_ERR_NOTHING = 8,         // nothing to save: empty or header only
    AUDIO_ERR_WRITE = 9,           // a write failed; also: no MPEG decoder, or it refused the file
    AUDIO_ERR_AU_CONVERTER = 10,   // the AU writer's converter is unusable
    AUDIO_ERR_STRUCTURE = 11,      // bad signature, missing chunk, impossible sizes, unsupported rate
    AUDIO_ERR_TEMP_WRITE = 12,     // writing the memory step's file or a headerless PCM file failed
    AUDIO_ERR_NOT_STREAMED = 17,   // the memory step needs data read through a stream
};

// Open mode bits.
constexpr uint32_t AUDIO_OPEN_DELETE_ON_CLOSE = 0x0001; // file: delete at close; block: take it over
constexpr uint32_t AUDIO_OPEN_OWN_BLOCK = 0x0001;
constexpr uint32_t AUDIO_OPEN_HEADER_ONLY = 0x0002;
constexpr uint32_t AUDIO_OPEN_ACCESS_MASK = 0x001C;     // WAV: how the data are held
constexpr uint32_t AUDIO_OPEN_MEMORY = 0x0004;          // WAV: whole file in memory
constexpr uint32_t AUDIO_OPEN_STREAM = 0x0010;          // WAV: data read through a stream
constexpr uint32_t AUDIO_OPEN_CONVERT = 0x0020;         // WAV: non-PCM to 16-bit PCM; others: memory step
constexpr uint32_t AUDIO_OPEN_READ_ONLY = 0x0040;
// Bits that bring streamed data into memory right after opening (the memory
// step): for WAV files, and for the other types.
constexpr uint32_t AUDIO_OPEN_WAV_MEMORY_STEP = 0x0024;
constexpr uint32_t AUDIO_OPEN_MEMORY_STEP = 0x002C;
constexpr uint32_t AUDIO_OPEN_BLOCK = 0x0080;           // the source is a CMemoryBlock

// File types of an open mode (its high 16 bits).
enum AudioFileType : int {
    AUDIO_TYPE_BY_EXTENSION = 0,
    AUDIO_TYPE_WAV = 1,
    AUDIO_TYPE_AU = 2,
    AUDIO_TYPE_AIFF = 3,
    AUDIO_TYPE_MPEG = 4,
    AUDIO_TYPE_RAW = 5,
};

// File types of a save mode (its high 16 bits); there is no MPEG writer.
enum AudioSaveType : int {
    AUDIO_SAVE_BY_EXTENSION = 0,
    AUDIO_SAVE_WAV = 1,
    AUDIO_SAVE_AU = 2,
    AUDIO_SAVE_AIFF = 3,
    AUDIO_SAVE_RAW = 4,
};

constexpr uint32_t AudioModeType(int type)
{
    return static_cast<uint32_t>(type) << 16;
}

// What an open file was (CAudioFile::GetFileType).
enum AudioFileKind : int {
    AUDIO_FILE_WAV = 0,
    AUDIO_FILE_MPEG = 1,
    AUDIO_FILE_AIFF = 2,
    AUDIO_FILE_AU = 3,
    AUDIO_FILE_RAW = 4,
};

// How the samples of a headerless PCM file are laid out.
struct RawPcmDesc {
    uint32_t size = sizeof(RawPcmDesc); // must be 16
    uint32_t sampleRate = 0;
    uint32_t sampleCode = 0;            // a SampleCode
    uint32_t channels = 0;
};
static_assert(sizeof(RawPcmDesc) == 16, "the raw description is four 32-bit fields");

// AU save encodings.
enum AuEncodingChoice : int { AU_SAVE_LINEAR = 0, AU_SAVE_MULAW = 1, AU_SAVE_ALAW = 2 };

// Called as (context, value, percent).
using AudioProgressCallback = void (*)(void* context, int value, int percent);

// The RIFF INFO tags, in the order they are read and written.
constexpr size_t AUDIO_INFO_TAG_COUNT = 23;
extern const char* const AUDIO_INFO_TAGS[AUDIO_INFO_TAG_COUNT];

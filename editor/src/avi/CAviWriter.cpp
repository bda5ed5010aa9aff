#include "CAviWriter.h"

#include "avi/CAviOutput.h"
#include "common/ByteOrder.h"
#include "sprites/PictureFormat.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include <cstring>

namespace {

bool IsUsableLayout(uint32_t bitCount, uint32_t compression)
{
    switch (bitCount) {
    case 1: case 2: case 4: case 8: case 24:
        return compression == BI_RGB;
    case 16: case 32:
        return compression == BI_RGB || compression == BI_BITFIELDS;
    default:
        return false;
    }
}

// The colour table of an indexed picture as 0x00RRGGBB values, 256 of them
// (entries past the table are black).
void ReadColours(const uint8_t* info, uint32_t colours[256])
{
    const uint32_t bits = InfoBitCount(info);
    const size_t entries = (PictureHeaderSize(info, HeaderRule::Editor) - INFO_HEADER_SIZE) / 4;
    for (size_t i = 0; i < 256; ++i)
        colours[i] = i < entries && i < (size_t(1) << bits) ? ReadLE32(info + INFO_HEADER_SIZE + 4 * i) & 0xFFFFFF : 0;
}

} // namespace

EditorStatus CAviWriter::Create(const std::string& path, const uint8_t* format, size_t size,
                                std::unique_ptr<CAviWriter>& writer)
{
    writer.reset();
    std::unique_ptr<CAviWriter> made(new CAviWriter(path));
    const EditorStatus status = made->Start(format, size);
    if (status == EditorStatus::Ok)
        writer = std::move(made);
    return status;
}

CAviWriter::CAviWriter(const std::string& path) : m_path(path), m_target(m_file) {}

CAviWriter::~CAviWriter()
{
    av_packet_free(&m_packet);
    // The multiplexer goes before the file it writes to; an uncommitted file
    // removes its temporary file as it goes.
    m_output.reset();
}

EditorStatus CAviWriter::Start(const uint8_t* format, size_t size)
{
    if (!format || size < INFO_HEADER_SIZE || ReadLE32(format + BIH_SIZE) != INFO_HEADER_SIZE)
        return EditorStatus::BadParameters;
    const int32_t width = int32_t(InfoWidth(format)), height = int32_t(InfoHeight(format));
    const uint32_t bits = InfoBitCount(format), compression = InfoCompression(format);
    if (width < 1 || width > 65535 || height < 1 || height > 65535 || !IsUsableLayout(bits, compression))
        return EditorStatus::BadParameters;
    const size_t headerSize = PictureHeaderSize(format, HeaderRule::Editor);
    if (headerSize == 0 || headerSize > size)
        return EditorStatus::BadParameters;
    std::memcpy(m_header, format, sizeof m_header);
    if (compression == BI_BITFIELDS)
        for (int i = 0; i < 3; ++i)
            m_masks[i] = ReadLE32(format + INFO_HEADER_SIZE + 4 * i);

    if (!m_file.Create(m_path))
        return EditorStatus::CannotWriteFile;
    m_packet = av_packet_alloc();
    if (!m_packet || CAviOutput::Create(m_target, m_output) != AviResult::Ok)
        return EditorStatus::OutOfMemory;
    AVFormatContext* muxer = m_output->Format();
    // Masked bitmaps (compression BI_BITFIELDS) are not in FFmpeg's table
    // of raw video tags, though every AVI reader knows them.
    muxer->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
    // Rows are stored bottom-up with a positive height, as in the frames.
    av_opt_set_int(muxer->priv_data, "flipped_raw_rgb", 1, 0);

    AVStream* stream = avformat_new_stream(muxer, nullptr);
    if (!stream)
        return EditorStatus::OutOfMemory;
    stream->time_base = AVRational{1, kFramesPerSecond};
    stream->avg_frame_rate = AVRational{kFramesPerSecond, 1};
    AVCodecParameters& par = *stream->codecpar;
    par.codec_type = AVMEDIA_TYPE_VIDEO;
    par.codec_id = AV_CODEC_ID_RAWVIDEO;
    par.codec_tag = compression;
    par.width = width;
    par.height = height;
    par.bits_per_coded_sample = int(bits);
    // The stream format's colour table, or its masks.
    size_t extra = 0;
    if (bits <= 8) {
        par.format = AV_PIX_FMT_PAL8;
        extra = size_t(4) << bits;
    } else if (compression == BI_BITFIELDS) {
        extra = 12;
    }
    if (extra) {
        par.extradata = static_cast<uint8_t*>(av_mallocz(extra + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!par.extradata)
            return EditorStatus::OutOfMemory;
        par.extradata_size = int(extra);
        if (bits <= 8) {
            uint32_t colours[256];
            ReadColours(format, colours);
            for (size_t i = 0; i < extra / 4; ++i)
                WriteLE32(par.extradata + 4 * i, colours[i]);
        } else {
            std::memcpy(par.extradata, format + INFO_HEADER_SIZE, 12);
        }
    }
    return m_output->WriteHeader() == AviResult::Ok ? EditorStatus::Ok : EditorStatus::CannotWriteFile;
}

EditorStatus CAviWriter::Write(const uint8_t* picture, size_t available)
{
    if (!m_output || m_finished)
        return EditorStatus::CannotWriteFile;
    if (!IsPictureWithin(picture, available, HeaderRule::Editor))
        return EditorStatus::BadParameters;
    // Same size and layout as the stream.
    for (size_t field : {BIH_WIDTH, BIH_HEIGHT, BIH_COMPRESSION})
        if (ReadLE32(picture + field) != ReadLE32(m_header + field))
            return EditorStatus::BadParameters;
    if (InfoBitCount(picture) != InfoBitCount(m_header))
        return EditorStatus::BadParameters;
    if (InfoCompression(m_header) == BI_BITFIELDS)
        for (int i = 0; i < 3; ++i)
            if (ReadLE32(picture + INFO_HEADER_SIZE + 4 * i) != m_masks[i])
                return EditorStatus::BadParameters;

    const size_t dataSize = PictureDataSize(picture);
    if (dataSize > size_t(INT32_MAX) - AV_INPUT_BUFFER_PADDING_SIZE || av_new_packet(m_packet, int(dataSize)) < 0)
        return EditorStatus::OutOfMemory;
    std::memcpy(m_packet->data, picture + PictureHeaderSize(picture, HeaderRule::Editor), dataSize);
    if (InfoBitCount(picture) <= 8) {
        // The multiplexer writes a palette change where the colours differ
        // from the frame before (and the first frame's into the stream format).
        uint8_t* side = av_packet_new_side_data(m_packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
        if (!side) {
            av_packet_unref(m_packet);
            return EditorStatus::OutOfMemory;
        }
        uint32_t colours[256];
        ReadColours(picture, colours);
        for (int i = 0; i < 256; ++i) {
            const uint32_t colour = 0xFF000000u | colours[i];
            std::memcpy(side + 4 * i, &colour, 4); // native 0xAARRGGBB
        }
    }
    m_packet->stream_index = 0;
    m_packet->pts = m_packet->dts = m_frames;
    m_packet->duration = 1;
    m_packet->flags |= AV_PKT_FLAG_KEY;
    if (m_output->Write(m_packet) != AviResult::Ok)
        return EditorStatus::CannotWriteFile;
    ++m_frames;
    return EditorStatus::Ok;
}

EditorStatus CAviWriter::Finish()
{
    if (!m_output || m_finished)
        return EditorStatus::CannotWriteFile;
    if (m_output->Finish() != AviResult::Ok || !m_file.Commit())
        return EditorStatus::CannotWriteFile;
    m_finished = true;
    return EditorStatus::Ok;
}

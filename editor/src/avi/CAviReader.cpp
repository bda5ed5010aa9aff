#include "CAviReader.h"

#include "avi/CAviInput.h"
#include "common/ByteOrder.h"
#include "sprites/PictureFormat.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Codecs of AVI files besides uncompressed bitmaps. Anything else is refused
// before a decoder opens, which keeps the decoders hostile bytes reach few.
constexpr AVCodecID kDecodedCodecs[] = {
    AV_CODEC_ID_RAWVIDEO,  AV_CODEC_ID_MJPEG,      AV_CODEC_ID_MPEG4,    AV_CODEC_ID_MSMPEG4V2,
    AV_CODEC_ID_MSMPEG4V3, AV_CODEC_ID_H263,       AV_CODEC_ID_H264,     AV_CODEC_ID_MPEG1VIDEO,
    AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_CINEPAK,   AV_CODEC_ID_MSVIDEO1, AV_CODEC_ID_MSRLE,
    AV_CODEC_ID_PNG,       AV_CODEC_ID_HUFFYUV,    AV_CODEC_ID_FFVHUFF,  AV_CODEC_ID_INDEO3,
};

// What FFmpeg appends to the format data of an uncompressed stream whose
// header height was positive (rows bottom-up); without it rows run top-down.
constexpr char kBottomUpMarker[] = "BottomUp"; // with its terminating zero: 9 bytes

bool IsDecodable(AVCodecID id)
{
    return std::find(std::begin(kDecodedCodecs), std::end(kDecodedCodecs), id) != std::end(kDecodedCodecs);
}

size_t ColourTableBytes(uint32_t bitCount)
{
    return bitCount <= 8 ? size_t(4) << bitCount : 0;
}

// A new packed picture of the given layout with its header written and its
// pixels still zero: the plain form the system writes, with the whole
// colour table (colours used 0) or the three masks.
void StartPicture(std::vector<uint8_t>& picture, int width, int height, uint32_t bitCount, uint32_t compression,
                  const uint32_t* colours, const uint32_t* masks)
{
    const size_t stride = DibRowStride(width, bitCount);
    const size_t table = compression == BI_BITFIELDS ? 12 : ColourTableBytes(bitCount);
    picture.assign(INFO_HEADER_SIZE + table + stride * size_t(height), 0);
    uint8_t* info = picture.data();
    WriteLE32(info + BIH_SIZE, INFO_HEADER_SIZE);
    WriteLE32(info + BIH_WIDTH, uint32_t(width));
    WriteLE32(info + BIH_HEIGHT, uint32_t(height));
    WriteLE16(info + BIH_PLANES, 1);
    WriteLE16(info + BIH_BIT_COUNT, uint16_t(bitCount));
    WriteLE32(info + BIH_COMPRESSION, compression);
    uint8_t* extra = info + INFO_HEADER_SIZE;
    if (compression == BI_BITFIELDS) {
        for (int i = 0; i < 3; ++i)
            WriteLE32(extra + 4 * i, masks[i]);
    } else {
        // Colours as 0x00RRGGBB, stored blue, green, red, 0.
        for (size_t i = 0; i < table / 4; ++i)
            WriteLE32(extra + 4 * i, colours[i] & 0xFFFFFF);
    }
}

} // namespace

CAviReader::CAviReader(const uint8_t* data, size_t size, size_t maxFrameBytes)
    : m_data(data), m_size(size), m_maxFrameBytes(maxFrameBytes)
{
}

CAviReader::~CAviReader()
{
    CloseStream();
}

EditorStatus CAviReader::Open(const uint8_t* data, size_t size, size_t maxFrameBytes,
                              std::unique_ptr<CAviReader>& reader)
{
    reader.reset();
    std::unique_ptr<CAviReader> made(new CAviReader(data, size, maxFrameBytes));
    const EditorStatus status = made->OpenStream();
    if (status == EditorStatus::Ok)
        reader = std::move(made);
    return status;
}

void CAviReader::CloseStream()
{
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    m_format = nullptr;
    m_input.reset();
    m_stream = -1;
    m_draining = false;
    m_havePicture = false;
    m_pending = false;
    m_repeated = false;
    m_nextNumber = 0;
    m_pendingNumber = 0;
    m_picture.clear();
}

EditorStatus CAviReader::OpenStream()
{
    m_input = std::make_unique<CAviInput>();
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame)
        return EditorStatus::OutOfMemory;
    // Every chunk is checked against its container before the
    // demultiplexer believes a size.
    switch (m_input->Open(m_data, m_size, CAviInput::LayoutCheck::WholeFile)) {
    case AviResult::Ok: break;
    case AviResult::Damaged: return EditorStatus::DamagedVideo;
    case AviResult::OutOfMemory: return EditorStatus::OutOfMemory;
    default: return EditorStatus::NotAVideo;
    }
    m_format = m_input->Format();
    return ExamineStream();
}

EditorStatus CAviReader::ExamineStream()
{
    m_stream = m_input->FirstVideoStream();
    if (m_stream < 0)
        return EditorStatus::NotAVideo;
    m_input->KeepOnlyStream(m_stream);
    const AVCodecParameters& par = *m_format->streams[m_stream]->codecpar;
    m_width = par.width;
    m_height = par.height;
    if (m_width < 1 || m_height < 1 || m_width > 65535 || m_height > 65535)
        return EditorStatus::NotAVideo;

    const uint32_t tag = par.codec_tag;
    m_raw = par.codec_id == AV_CODEC_ID_RAWVIDEO && (tag == BI_RGB || tag == BI_BITFIELDS || tag == FourCC("DIB "));
    if (m_raw) {
        m_bitCount = par.bits_per_coded_sample == 15 ? 16 : uint32_t(par.bits_per_coded_sample);
        m_compression = tag == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
        switch (m_bitCount) {
        case 1: case 2: case 4: case 8: case 24:
            if (m_compression == BI_BITFIELDS)
                return EditorStatus::NotAVideo;
            break;
        case 16: case 32:
            break;
        default:
            return EditorStatus::NotAVideo;
        }
        const uint8_t* extra = par.extradata;
        size_t extraSize = par.extradata && par.extradata_size > 0 ? size_t(par.extradata_size) : 0;
        const bool marked = extraSize >= sizeof kBottomUpMarker &&
                            std::memcmp(extra + extraSize - sizeof kBottomUpMarker, kBottomUpMarker,
                                        sizeof kBottomUpMarker) == 0;
        if (marked)
            extraSize -= sizeof kBottomUpMarker;
        m_bottomUp = tag != BI_RGB || marked;
        if (m_compression == BI_BITFIELDS) {
            if (extraSize < 12)
                return EditorStatus::NotAVideo;
            for (int i = 0; i < 3; ++i)
                m_masks[i] = ReadLE32(extra + 4 * i);
        }
        // The colour table follows the header; FFmpeg hands it on as format data.
        std::fill(std::begin(m_palette), std::end(m_palette), 0u);
        for (size_t i = 0; m_bitCount <= 8 && i < (size_t(1) << m_bitCount) && 4 * i + 4 <= extraSize; ++i)
            m_palette[i] = ReadLE32(extra + 4 * i) & 0xFFFFFF;
        const uint64_t frameBytes = uint64_t(DibRowStride(m_width, m_bitCount)) * uint64_t(m_height);
        return frameBytes <= m_maxFrameBytes ? EditorStatus::Ok : EditorStatus::TooLarge;
    }

    // Decoded frames become 24-bit pictures (or 8-bit ones); their decoders
    // work in buffers of up to four bytes a pixel.
    if (uint64_t(m_width) * uint64_t(m_height) * 4 > m_maxFrameBytes)
        return EditorStatus::TooLarge;
    if (!IsDecodable(par.codec_id))
        return EditorStatus::NotAVideo;
    const AVCodec* codec = avcodec_find_decoder(par.codec_id);
    if (!codec)
        return EditorStatus::NotAVideo;
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec)
        return EditorStatus::OutOfMemory;
    if (avcodec_parameters_to_context(m_codec, &par) < 0)
        return EditorStatus::NotAVideo;
    m_codec->thread_count = 1;
    m_codec->max_pixels = int64_t(m_maxFrameBytes / 4);
    m_codec->pkt_timebase = m_format->streams[m_stream]->time_base;
    if (avcodec_open2(m_codec, codec, nullptr) < 0)
        return EditorStatus::NotAVideo;
    return EditorStatus::Ok;
}

EditorStatus CAviReader::Rewind()
{
    CloseStream();
    return OpenStream();
}

int CAviReader::ReadVideoPacket()
{
    av_packet_unref(m_packet);
    for (;;) {
        // Damage the demultiplexer cannot get past ends the stream as the end of the file does.
        if (av_read_frame(m_format, m_packet) < 0)
            return AVERROR_EOF;
        if (m_packet->stream_index == m_stream)
            return 0;
        av_packet_unref(m_packet);
    }
}

int64_t CAviReader::FrameNumber(int64_t stamp, int64_t next)
{
    // Timestamps that do not run forward are damage: such a frame is simply
    // the next one.
    return stamp != AV_NOPTS_VALUE && stamp >= next ? stamp : next;
}

EditorStatus CAviReader::CountFrames(int& count)
{
    count = 0;
    // Every frame, even one left out as an empty chunk, takes a chunk
    // header of 8 bytes in the file: a count beyond that is made up.
    const int64_t limit = std::min<int64_t>(INT_MAX, int64_t(m_size / 8));
    int64_t frames = 0, next = 0;
    while (ReadVideoPacket() == 0) {
        const int64_t number = FrameNumber(m_packet->dts, next);
        if (frames == 0)
            next = number; // as Next does: no gap before the first frame
        frames += number - next + 1;
        next = number + 1;
        if (frames > limit)
            return EditorStatus::DamagedVideo;
    }
    // A stream that ends before the frames its header promises was cut
    // short. (Left-out frames at the very end cannot be told from that: the
    // demultiplexer shows nothing of them.)
    const int64_t promised = m_format->streams[m_stream]->nb_frames;
    const EditorStatus status = Rewind();
    if (status != EditorStatus::Ok)
        return status;
    if (promised > frames)
        return EditorStatus::DamagedVideo;
    count = int(frames);
    return EditorStatus::Ok;
}

EditorStatus CAviReader::Next()
{
    m_repeated = false;
    if (!m_pending) {
        const EditorStatus status = m_raw ? ReadRaw() : Decode();
        if (status != EditorStatus::Ok) {
            m_havePicture = false;
            return status;
        }
        m_pending = true;
    }
    // A gap before the first frame is not filled: there is nothing to show.
    if (!m_havePicture)
        m_nextNumber = m_pendingNumber;
    if (m_pendingNumber > m_nextNumber) {
        // A frame the file left out (an empty chunk): the one before, once more.
        ++m_nextNumber;
        m_repeated = true;
        return EditorStatus::Ok;
    }
    m_pending = false;
    m_nextNumber = m_pendingNumber + 1;
    EditorStatus status;
    if (m_raw) {
        status = PictureFromPacket();
        av_packet_unref(m_packet);
    } else {
        status = PictureFromFrame(*m_frame);
        av_frame_unref(m_frame);
    }
    m_havePicture = status == EditorStatus::Ok;
    return status;
}

void CAviReader::TakePacketPalette()
{
    size_t size = 0;
    const uint8_t* colours = av_packet_get_side_data(m_packet, AV_PKT_DATA_PALETTE, &size);
    if (!colours || size != AVPALETTE_SIZE)
        return;
    for (int i = 0; i < 256; ++i) {
        uint32_t colour;
        std::memcpy(&colour, colours + 4 * i, 4); // native 0xAARRGGBB
        m_palette[i] = colour & 0xFFFFFF;
    }
}

EditorStatus CAviReader::ReadRaw()
{
    if (ReadVideoPacket() != 0)
        return EditorStatus::DamagedVideo;
    m_pendingNumber = FrameNumber(m_packet->dts, m_nextNumber);
    return EditorStatus::Ok;
}

EditorStatus CAviReader::PictureFromPacket()
{
    TakePacketPalette();
    const size_t stride = DibRowStride(m_width, m_bitCount);
    if (size_t(m_packet->size) < stride * size_t(m_height))
        return EditorStatus::DamagedVideo;
    StartPicture(m_picture, m_width, m_height, m_bitCount, m_compression, m_palette, m_masks);
    uint8_t* pixels = m_picture.data() + m_picture.size() - stride * size_t(m_height);
    if (m_bottomUp) {
        std::memcpy(pixels, m_packet->data, stride * size_t(m_height));
    } else {
        for (int y = 0; y < m_height; ++y)
            std::memcpy(pixels + stride * size_t(m_height - 1 - y), m_packet->data + stride * size_t(y), stride);
    }
    return EditorStatus::Ok;
}

EditorStatus CAviReader::Decode()
{
    for (;;) {
        const int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0) {
            m_pendingNumber = FrameNumber(m_frame->best_effort_timestamp, m_nextNumber);
            return EditorStatus::Ok;
        }
        if (received != AVERROR(EAGAIN) || m_draining)
            return EditorStatus::DamagedVideo;
        if (ReadVideoPacket() != 0) {
            // The end: what the decoder still holds comes out.
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        const int sent = avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
        if (sent < 0)
            return EditorStatus::DamagedVideo;
    }
}

EditorStatus CAviReader::PictureFromFrame(const AVFrame& frame)
{
    const int width = frame.width, height = frame.height;
    if (width < 1 || height < 1 || width > 65535 || height > 65535)
        return EditorStatus::DamagedVideo;
    if (frame.format == AV_PIX_FMT_PAL8) {
        if (uint64_t(DibRowStride(width, 8)) * uint64_t(height) > m_maxFrameBytes || !frame.data[1])
            return EditorStatus::TooLarge;
        uint32_t colours[256];
        std::memcpy(colours, frame.data[1], sizeof colours); // native 0xAARRGGBB
        StartPicture(m_picture, width, height, 8, BI_RGB, colours, nullptr);
        const size_t stride = DibRowStride(width, 8);
        uint8_t* pixels = m_picture.data() + INFO_HEADER_SIZE + 1024;
        for (int y = 0; y < height; ++y)
            std::memcpy(pixels + stride * size_t(height - 1 - y), frame.data[0] + ptrdiff_t(y) * frame.linesize[0],
                        size_t(width));
        return EditorStatus::Ok;
    }

    const size_t stride = DibRowStride(width, 24);
    if (uint64_t(stride) * uint64_t(height) > m_maxFrameBytes)
        return EditorStatus::TooLarge;
    m_scaler = sws_getCachedContext(m_scaler, width, height, AVPixelFormat(frame.format), width, height,
                                    AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr);
    if (!m_scaler)
        return EditorStatus::DamagedVideo;
    // Scaled top-down into rows of their own, then stored bottom-up.
    const int linesize = int((size_t(width) * 3 + 63) & ~size_t(63));
    std::vector<uint8_t> rows(size_t(linesize) * size_t(height));
    uint8_t* target[4] = {rows.data(), nullptr, nullptr, nullptr};
    const int targetLinesize[4] = {linesize, 0, 0, 0};
    if (sws_scale(m_scaler, frame.data, frame.linesize, 0, height, target, targetLinesize) != height)
        return EditorStatus::DamagedVideo;
    StartPicture(m_picture, width, height, 24, BI_RGB, nullptr, nullptr);
    uint8_t* pixels = m_picture.data() + INFO_HEADER_SIZE;
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels + stride * size_t(height - 1 - y), rows.data() + size_t(linesize) * size_t(y),
                    size_t(width) * 3);
    return EditorStatus::Ok;
}

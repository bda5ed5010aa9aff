#pragma once
// CAviWriter: an AVI file of one uncompressed video stream ("vids", no
// handler, 15 frames per second), every frame a key frame holding a
// device-independent bitmap's pixels, written through the AVI layer's
// multiplexer (avi/CAviOutput.h). The stream format is the frames' header and colour table (or
// masks); a frame whose colours differ from the frame before is preceded by
// a palette change, so frames of one format but different palettes keep
// their colours.
//
// The file is written whole or not at all (CAtomicOutputFile): it replaces
// the target only in Finish.

#include "avi/CAviFileTarget.h"
#include "common/CAtomicOutputFile.h"
#include "editor/EditorStatus.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CAviOutput;
struct AVPacket;

class CAviWriter {
public:
    static constexpr int kFramesPerSecond = 15;

    // `format` is a picture header (40-byte info header, then the colour
    // table or masks) of `size` bytes: 1 to 32 bits, uncompressed.
    // BadParameters for a header the writer cannot use, CannotWriteFile when
    // the temporary file or the stream cannot be made.
    static EditorStatus Create(const std::string& path, const uint8_t* format, size_t size,
                               std::unique_ptr<CAviWriter>& writer);
    // Leaves the target as it was unless Finish succeeded.
    ~CAviWriter();
    CAviWriter(const CAviWriter&) = delete;
    CAviWriter& operator=(const CAviWriter&) = delete;

    // Appends one frame: a packed picture of the stream's size and format
    // (`available` bytes from its info header on). BadParameters when it
    // does not match the stream.
    EditorStatus Write(const uint8_t* picture, size_t available);
    // Completes the file and puts it in the target's place.
    EditorStatus Finish();

private:
    explicit CAviWriter(const std::string& path);
    EditorStatus Start(const uint8_t* format, size_t size);

    std::string m_path;
    CAtomicOutputFile m_file;
    CAviFileTarget m_target;
    std::unique_ptr<CAviOutput> m_output;
    bool m_finished = false;
    AVPacket* m_packet = nullptr;
    int64_t m_frames = 0;

    // The stream's layout, which every frame must share.
    uint8_t m_header[40] = {};
    uint32_t m_masks[3] = {0, 0, 0};
};

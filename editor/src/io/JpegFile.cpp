#include "editor/JpegFile.h"

#include "common/AtomicFile.h"
#include "common/DebugTrace.h"
#include "imaging/CDib.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// The JPEG library reports a fatal error by calling error_exit, which must
// not return: it jumps back to the compression below. Only plain C objects
// and objects that outlive the jump live between the setjmp and the calls
// that may jump, so no destructor is skipped.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings and trace lines of the library are of no use to the user.
void OnMessage(j_common_ptr, int) {}

// Compresses `rows` (top row first, red-green-blue) into `*out` (malloc'ed
// by the library; the caller frees it). False after a fatal library error.
bool CompressJpeg(const std::vector<uint8_t>& rows, int width, int height, int quality, unsigned char** out,
              unsigned long* outSize)
{
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnFatalError;
    errors.manager.emit_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    // Baseline quantisation tables whatever the quality, and no progressive
    // scans: every JFIF reader takes the file.
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows.data() + size_t(info.next_scanline) * size_t(width) * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

EditorStatus WriteJpegFile(const std::string& path, CDib& image, int quality)
{
    if (image.GetFormat() != PF_RGB24)
        return EditorStatus::JpegNeeds24Bits;
    const int width = image.GetWidth(), height = image.GetHeight();
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (image.Lock(&bits, &pitch) != DIB_OK)
        return EditorStatus::JpegNeeds24Bits;
    // Top row first, each pixel's blue and red exchanged: the picture keeps
    // blue-green-red, the JPEG library takes red-green-blue.
    std::vector<uint8_t> rows(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        const int memoryRow = image.IsBottomUp() ? height - 1 - y : y;
        const uint8_t* from = bits + ptrdiff_t(memoryRow) * pitch;
        uint8_t* to = rows.data() + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    image.Unlock();

    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    if (!CompressJpeg(rows, width, height, std::clamp(quality, 0, 100), &jpeg, &size)) {
        std::free(jpeg);
        DebugTrace("JPEG Fatal Error\n");
        return EditorStatus::CannotWriteFile;
    }
    const bool written = WriteFileAtomically(path, jpeg, size);
    std::free(jpeg);
    if (!written) {
        DebugTrace("JpegFile :\nCan't open %s\n", path.c_str());
        return EditorStatus::CannotWriteFile;
    }
    return EditorStatus::Ok;
}

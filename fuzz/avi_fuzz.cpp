// Arbitrary bytes as a video file: the editor's AVI reader (the
// demultiplexer, uncompressed bitmap frames with their palette changes and
// left-out frames, and the decoders it allows), then the document taking
// each frame in as a picture of its own.

#include "editor/CAviFile.h"
#include "editor/CKVFEditorDoc.h"
#include "sprites/PictureFormat.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CAviFile file;
    // A few bytes may announce frames of gigabytes; a few megabytes are
    // enough to reach every path.
    file.SetMaxFrameBytes(size_t(4) << 20);
    if (file.OpenReadMemory(data, size) != EditorStatus::Ok)
        return 0;
    CKVFEditorDoc doc;
    const int count = std::min(file.GetFrameCount(), 32);
    for (int i = 0; i < count; ++i) {
        size_t bytes = 0;
        const uint8_t* picture = file.GetFrame(i, &bytes);
        if (!picture)
            break;
        // Every picture the reader hands out is whole.
        if (!IsPictureWithin(picture, bytes))
            std::abort();
        doc.Paste(picture, bytes);
    }
    // Reading from the start again after the end, or after a refusal.
    file.GetFrame(0);
    return 0;
}

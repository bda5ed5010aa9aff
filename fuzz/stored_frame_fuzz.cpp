// Arbitrary bytes offered as a plain picture to the editor's frame store:
// whatever it accepts comes back byte for byte, packed or not.

#include "editor/CStoredFrame.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FrameRef frame = CStoredFrame::FromPicture(data, size);
    if (!frame)
        return 0;
    const std::vector<uint8_t> picture = frame->Picture();
    if (picture.size() != size || std::memcmp(picture.data(), data, size) != 0)
        std::abort();
    return 0;
}

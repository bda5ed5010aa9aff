#pragma once
// CIndexedConversion: the conversion of direct-colour frames to 8 bits with
// one palette (the second pass of colour reduction), done on worker threads
// straight from a stored frame's pixels, without image objects. It is
// learnt from the first frame, converted through the image objects as
// always: the result's header is taken for every frame of the same size and
// format, and the frame is converted once more here and compared byte for
// byte, so a conversion that would differ is never used.

#include "editor/CStoredFrame.h"
#include "imaging/ColourReduction.h"
#include "imaging/PaletteEntry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CDibPalette;

class CIndexedConversion {
public:
    // Null when the options or the frame's format are not converted so, or
    // when converting `source` here does not give `converted`, the plain
    // picture the image objects made of it.
    static std::unique_ptr<CIndexedConversion> Learn(const CStoredFrame& source, const std::vector<uint8_t>& converted,
                                                     const CDibPalette& palette,
                                                     const ColourReductionOptions& options);

    // Whether the frame has the size and format of the one learnt from.
    bool Takes(const CStoredFrame& frame) const;
    // The converted frame (null on failure). Safe on any thread.
    FrameRef Convert(const CStoredFrame& frame) const;

private:
    CIndexedConversion() = default;
    // The converted picture into `picture` (resized to fit); false on failure.
    bool ConvertedPicture(const CStoredFrame& frame, std::vector<uint8_t>& picture) const;

    int m_width = 0;
    int m_height = 0;
    PixelFormat m_sourceFormat = PF_NONE;
    std::vector<uint8_t> m_header;
    std::array<PaletteEntry, 256> m_entries{};
    uint32_t m_flags = 0;
};

#pragma once
// Colour reduction of a set of frames, the way the editor changes a
// sequence's colour depth: to 8 bits through one palette shared by every
// frame (quantized from all their pixels together), or to 15, 16, 24 or 32
// bits by plain conversion.

#include "imaging/CColourQuantizer.h"
#include "imaging/DibResult.h"

#include <memory>

class CDib;
class CDibPalette;
class CNearestColourMap;

enum class ColourTarget { Index8, Rgb555, Rgb565, Rgb24, Rgb32 };

enum class ColourMethod {
    Octree, // CColourOctreeQuantizer
    Box5,   // CColourBoxQuantizer, 5 bits per channel
    Box6,   // CColourBoxQuantizer, 6 bits per channel
    // CColourKMeansQuantizer; without error diffusion its frames are
    // remapped with the exact nearest colour (CNearestColourMap) rather than
    // the octree search, which would give back much of what it gains.
    KMeans,
};

struct ColourReductionOptions {
    ColourTarget target = ColourTarget::Index8;
    ColourMethod method = ColourMethod::Octree;
    int colours = 256; // 1..256; the palette always has 256 entries
    bool includeSystemColours = false;
    // Error diffusion for the 8-, 15- and 16-bit targets.
    bool errorDiffusion = false;
    // Octree only: quantize from one pixel of every 4 × 4 block.
    bool sample = false;
    // Called per row of each frame while the quantizer reads it.
    QuantizeProgress progress = nullptr;
    void* progressArgument = nullptr;
};

// A new quantizer for the method (never null).
std::unique_ptr<CColourQuantizer> MakeColourQuantizer(ColourMethod method, int colours);

// Quantizes every frame's pixels (through 24-bit copies) into one new
// 256-entry palette, completed with the static system colours when asked.
// The frames are not changed. On success *palette holds one reference that
// the caller releases. DIB_UNSUPPORTED for null arguments or a frame of
// fewer than 8 bits per pixel, DIB_NOT_CREATED for an empty frame.
[[nodiscard]] DibResult BuildReductionPalette(CDib* const* frames, int count, const ColourReductionOptions& options,
                                CDibPalette** palette);

// Converts every frame to the target depth; for 8 bits, with the palette of
// BuildReductionPalette. All frames are checked before any is changed.
[[nodiscard]] DibResult ReduceColours(CDib* const* frames, int count, const ColourReductionOptions& options);

// The same reduction one frame at a time, for sequences too long to hold
// decoded all at once: feed every frame to the quantizer of
// MakeColourQuantizer with AddReductionFrame, take the palette with
// FinishReductionPalette, then convert each frame with ReduceFrame. The
// results are those of ReduceColours, byte for byte. Frames of fewer than 8
// bits per pixel are refused (DIB_UNSUPPORTED), as there.
[[nodiscard]] DibResult AddReductionFrame(CColourQuantizer& quantizer, CDib* frame, const ColourReductionOptions& options);
// Builds the palette from the quantizer (which is used up) as
// BuildReductionPalette does; *palette holds one reference for the caller.
[[nodiscard]] DibResult FinishReductionPalette(CColourQuantizer& quantizer, const ColourReductionOptions& options,
                                 CDibPalette** palette);
// Converts one frame to the target depth; `palette` is the 8-bit target's
// palette (ignored for the others). `map`, when given, is the palette's
// exact nearest-colour map, built once for many frames (the k-means method
// without diffusion builds one otherwise).
[[nodiscard]] DibResult ReduceFrame(CDib* frame, CDibPalette* palette, const ColourReductionOptions& options,
                      CNearestColourMap* map = nullptr);

#pragma once
// Export: the document's frames written as the files the game reads, as one
// strip (frame 0 at the top) or as a sequence of numbered files (walk.bmp
// gives walk0000.bmp, walk0001.bmp, ...), uncompressed, in one of the sprite
// codecs, as JPEG, or as PNG for other programs. The "Output Options" dialog
// fills ExportOptions; every file is written whole or not at all.

#include "editor/EditorStatus.h"

#include <string>

class CKVFEditorDoc;
class IEditorProgress;

constexpr const char* PROGRESS_EXPORTING = "Exporting ...";

// The choices of "Output Options", in their order there; Png is chosen by
// the export file dialog's PNG filters instead.
enum class ExportEncoding { Uncompressed = 0, Pkc = 1, Arle = 2, Prle = 3, Trle = 4, Jpeg = 5, Png = 6 };

enum class ExportLayout { Strip, Sequence };

struct ExportOptions {
    static constexpr int kMinQuality = 0, kMaxQuality = 100, kDefaultQuality = 90;
    ExportEncoding encoding = ExportEncoding::Uncompressed;
    int quality = kDefaultQuality; // "Quality (0-100)", JPEG only
    // "Alpha": an 8-bit "TRLE" picture whose row trims a "TRLE" strip of
    // another depth takes; empty for none. Sequences never use it.
    std::string alphaPath;
    bool IsValid() const;
};

// Commits the working image and writes every frame. NothingToDo without
// frames; NotSameFormat when the frames differ; NeedsIndexed8 for ARLE or
// PRLE of frames that are not 8-bit; JpegNeeds24Bits for JPEG of frames
// that are not 24-bit; CannotOpenAlpha when the "Alpha" file cannot be
// read; CompressionFailed when a codec refuses the frames; TooLarge for a
// strip higher than a picture may be; CannotWriteFile. Reports "Exporting
// ..." with the range 0 to the count and the frame index. The current
// frame stays current.
EditorStatus ExportFrames(CKVFEditorDoc& doc, const std::string& path, ExportLayout layout,
                          const ExportOptions& options, IEditorProgress* progress = nullptr);

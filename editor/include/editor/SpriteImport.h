#pragma once
// Import and Insert Video: frames brought into the document from a picture
// strip (any sprite file, other programs' bitmaps, PNG) or from the video
// stream of an AVI file. Either is one undo step, and a file that cannot be
// read leaves the document as it was.

#include "editor/EditorStatus.h"

#include <string>

class CKVFEditorDoc;
class IEditorProgress;

constexpr const char* PROGRESS_IMPORTING = "Importing";
constexpr const char* IMPORT_FILTER = "Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*||";
constexpr const char* VIDEO_FILTER = "Video (*.avi)|*.avi|All Files (*.*)|*.*||";

// "Import": "Number of frames in the importing bitmap".
struct ImportParams {
    static constexpr int kMinFrames = 1, kMaxFrames = 10000;
    int frames = 1;
    bool IsValid() const;
};

// Reads the picture file (sprite files of every codec, other programs'
// bitmaps, PNG files) and cuts the picture into `params.frames` bands of height / frames rows (rows
// left over at the bottom are not used), frame 0 the top band, and inserts
// them in order after the current frame, the last becoming current (the
// first, when the document had no frames).
// CannotOpenFile, NotAPictureFile (also for a damaged picture), TooLarge;
// BadParameters when there are more frames than rows.
EditorStatus ImportStrip(CKVFEditorDoc& doc, const std::string& path, const ImportParams& params,
                         IEditorProgress* progress = nullptr);

// Inserts every frame of the video after the current frame, in order, each
// becoming current. A readable video without frames changes nothing but
// marks the document modified. On a damaged frame the frames inserted so
// far are taken out again (DamagedVideo).
EditorStatus InsertVideo(CKVFEditorDoc& doc, const std::string& path, IEditorProgress* progress = nullptr);

#pragma once
// How the document stores its frames: every picture that enters is rebuilt
// in the system's plain form (a 40-byte header with a full colour table or
// the format's masks, no optional table at the direct-colour depths,
// bottom-up rows), and an edited frame is kept encoded with "PKCC". Because
// no stored picture carries an optional colour table, the editor's header
// rule (which counts 40 bytes for direct-colour headers) measures every one
// of them exactly, as the game's rule does.

#include "editor/CFrameSequence.h"
#include "editor/EditorStatus.h"
#include "imaging/PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDib;
class CDibSection;

// The most bytes one frame's pixels may take. Tools and readers refuse
// larger frames instead of asking the system for gigabytes (a resize to
// 30000 × 30000 in 32 bits would want 3.6 GB per frame).
constexpr size_t kMaxFrameBytes = size_t(256) << 20;

// Bytes of the uncompressed pixels of a picture, 0 for an invalid one.
size_t FrameDataBytes(PixelFormat format, int width, int height);
bool FitsFrameLimit(PixelFormat format, int width, int height);

// A frame holding `image`'s picture in plain form; empty on failure.
FrameRef MakePlainFrame(CDib& image);
// The same, encoded with "PKCC" (left plain if the codec refuses it).
FrameRef MakeStoredFrame(CDib& image);

// Reads the bytes of a packed picture (with or without the 14-byte file
// header, another program's bitmap, or any sprite codec's encoding) into a
// new plain frame. NotAPicture for bytes that are not one, TooLarge past
// kMaxFrameBytes.
EditorStatus FrameFromPicture(const uint8_t* bytes, size_t size, FrameRef& frame);

// The frame's picture in `image`; an encoded frame is decoded in a
// temporary copy, so the stored frame never changes.
DibResult DecodeFrame(CDibPacked* frame, CDibSection& image);
// The frame itself when it is plain, else a plain copy; empty on failure.
FrameRef PlainFrame(CDibPacked* frame);
// The bytes of a plain frame's picture (info header first), as many as the
// editor's header rule counts.
std::vector<uint8_t> PictureBytes(const CDibPacked& frame);

#pragma once
// How pictures become the document's stored frames and back. Every picture
// that enters is rebuilt in the system's plain form (a 40-byte header with a
// full colour table or the format's masks, no optional table at the
// direct-colour depths, bottom-up rows) before it is stored (CStoredFrame),
// so the editor's header rule (which counts 40 bytes for direct-colour
// headers) measures every stored picture exactly, as the game's rule does.

#include "editor/CStoredFrame.h"
#include "editor/EditorStatus.h"
#include "imaging/DibResult.h"
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

// `image`'s picture in plain form (info header first); empty on failure.
// Image objects belong to the thread that runs the window: main thread only.
std::vector<uint8_t> PlainPictureOf(CDib& image);
// A frame holding `image`'s picture; empty on failure (main thread only).
FrameRef MakeStoredFrame(CDib& image);

// Reads the bytes of a packed picture (with or without the 14-byte file
// header, another program's bitmap, or any sprite codec's encoding) into a
// new frame. NotAPicture for bytes that are not one, TooLarge past
// kMaxFrameBytes.
EditorStatus FrameFromPicture(const uint8_t* bytes, size_t size, FrameRef& frame);

// The frame's picture in `image` (main thread only).
DibResult DecodeFrame(const CStoredFrame* frame, CDibSection& image);

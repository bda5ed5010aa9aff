#pragma once
// The editor's pictures on the system clipboard. Copy puts the packed
// picture there as a bitmap file ("image/bmp": the exact frame, palette and
// all) and as PNG for other programs; Paste takes a bitmap first, then a
// PNG, then any image another program offers.

#include <cstdint>
#include <vector>

// `picture` is a plain packed picture (info header first).
void PutPictureOnClipboard(const std::vector<uint8_t>& picture);
bool ClipboardHasPicture();
// The clipboard's picture as a packed picture or a bitmap file's bytes;
// empty when it holds none.
std::vector<uint8_t> TakePictureFromClipboard();

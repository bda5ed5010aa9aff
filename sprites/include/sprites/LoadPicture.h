#pragma once
// Loading a picture from a sprite file (or a resource, or a block) into an
// image of any kind. The sprite file format and its codecs live in this
// library, so loading starts here rather than in the image core: the packed
// kinds (CDibPacked, CDibTrle) keep the bytes as they are, encoded or not,
// and every other kind (a section, a display surface) receives the decoded
// picture through its CopyFrom.

#include "imaging/DibResult.h"
#include "sprites/PictureSource.h"

#include <cstdint>

class CDib;

// Load options, combined with |.
constexpr uint32_t LOAD_PLAIN = 0;
// Copy the bytes into a new writable block and drop the source's (packed
// kinds only: the others copy the pixels anyway).
constexpr uint32_t LOAD_PRIVATE_COPY = 0x10000;
// Decode an encoded picture after attaching it (implied for kinds that
// cannot hold an encoded picture).
constexpr uint32_t LOAD_DECOMPRESS = 0x20000;
// Then convert it to the reference image's format and palette, when a
// created reference is given (menu pictures arrive in the back buffer's form).
constexpr uint32_t LOAD_MATCH_REFERENCE = 0x40000;

// DIB_FAILED when the source cannot be opened or is empty; otherwise the
// packed load's result (CDibPacked::Load) and, for the other kinds, that of
// their CopyFrom. A refused load leaves `image` as it was.
[[nodiscard]] DibResult LoadPicture(CDib& image, PictureSource source, uint32_t options = LOAD_PLAIN, CDib* reference = nullptr);

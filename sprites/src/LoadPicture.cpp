#include "sprites/LoadPicture.h"

#include "sprites/CDibPacked.h"

#include <utility>

DibResult LoadPicture(CDib& image, PictureSource source, uint32_t options, CDib* reference)
{
    if (auto* packed = dynamic_cast<CDibPacked*>(&image))
        return packed->Load(std::move(source), options, reference);
    // The pixels are copied out below, so the packed picture may use the
    // source's bytes in place.
    CDibPacked picture;
    const DibResult code =
        picture.Load(std::move(source), (options & ~LOAD_PRIVATE_COPY) | LOAD_DECOMPRESS, reference);
    if (code != DIB_OK)
        return code;
    return image.CopyFrom(&picture);
}

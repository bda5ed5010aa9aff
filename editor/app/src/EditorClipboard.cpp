#include "kvfedit/EditorClipboard.h"

#include "editor/PngPicture.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>

namespace {

const QString kBitmapType = QStringLiteral("image/bmp");
const QString kPngType = QStringLiteral("image/png");

QByteArray Bytes(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::vector<uint8_t> Vector(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    return std::vector<uint8_t>(data, data + bytes.size());
}

// An image of another program as a 24-bit packed picture.
std::vector<uint8_t> PictureOfImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
    if (rgb.isNull() || !IsValidImageSize(rgb.width(), rgb.height()))
        return {};
    CDibSection section;
    if (section.Create(rgb.width(), rgb.height(), PF_RGB24) != DIB_OK)
        return {};
    // The library's 24-bit pixels are blue, green, red in memory, as Qt's BGR888.
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(section.Bits() + ptrdiff_t(y) * section.Pitch(), rgb.constScanLine(y), size_t(rgb.width()) * 3);
    CDibPacked packed;
    if (packed.CopyFrom(&section) != DIB_OK)
        return {};
    const uint8_t* info = packed.GetInfoHeader();
    return std::vector<uint8_t>(info, info + packed.GetPictureSize());
}

} // namespace

void PutPictureOnClipboard(const std::vector<uint8_t>& picture)
{
    if (picture.size() < INFO_HEADER_SIZE)
        return;
    // The PNG is made from the picture itself, through a packed image over a copy.
    // A picture the image cannot take (Attach deletes the copy then) goes on
    // the clipboard as a bitmap alone, without its PNG twin.
    CDibPacked image;
    bool attached = false;
    if (CMemoryBlock* block = CMemoryBlock::Allocate(picture.size())) {
        std::memcpy(block->Lock(), picture.data(), picture.size());
        block->Unlock();
        attached = image.Attach(block) == DIB_OK;
    }
    std::vector<uint8_t> file(FILE_HEADER_SIZE);
    BuildFileHeader(file.data(), picture.size(), UncompressedHeaderSize(picture.data()));
    file.insert(file.end(), picture.begin(), picture.end());
    auto* data = new QMimeData;
    data->setData(kBitmapType, Bytes(file));
    std::vector<uint8_t> png;
    if (attached && image.IsCreated() && EncodePng(image, png) == EditorStatus::Ok)
        data->setData(kPngType, Bytes(png));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool ClipboardHasPicture()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(kBitmapType) || data->hasFormat(kPngType) || data->hasImage());
}

std::vector<uint8_t> TakePictureFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    if (data->hasFormat(kBitmapType))
        return Vector(data->data(kBitmapType));
    if (data->hasFormat(kPngType)) {
        const QByteArray png = data->data(kPngType);
        std::vector<uint8_t> picture;
        DecodePngPicture(reinterpret_cast<const uint8_t*>(png.constData()), size_t(png.size()), picture);
        return picture;
    }
    if (data->hasImage())
        return PictureOfImage(qvariant_cast<QImage>(data->imageData()));
    return {};
}

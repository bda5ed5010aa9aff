#include "sprites/CDibPacked.h"

#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "sprites/ForeignPicture.h"
#include "sprites/PictureFormat.h"
#include "sprites/PictureLayout.h"
#include "sprites/SpriteCodecs.h"

#include <cstring>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Number of colour-table entries stored in front of the pixels.
size_t ColourTableEntries(size_t dataOffset)
{
    return dataOffset > INFO_HEADER_SIZE ? (dataOffset - INFO_HEADER_SIZE) / 4 : 0;
}

} // namespace

CDibPacked::~CDibPacked()
{
    CDibPacked::Destroy();
}

void CDibPacked::Reset()
{
    CDib::Reset();
    m_block = nullptr;
    m_compressed = 0;
    m_data = nullptr;
    m_info = nullptr;
    m_available = 0;
    m_pictureSize = 0;
    m_dataOffset = 0;
    m_paletteVersion = 0;
}

DibResult CDibPacked::Destroy()
{
    if (m_block) {
        m_block->Unlock();
        delete m_block;
        m_block = nullptr;
    }
    CDib::Destroy(); // releases palette and clip region, then Reset
    Reset();
    return DIB_OK;
}

DibResult CDibPacked::Create(int width, int height, PixelFormat format, uint32_t, uint32_t)
{
    Destroy();
    uint8_t header[MAX_PICTURE_HEADER_SIZE];
    const size_t headerSize = BuildPictureHeader(format, width, height, header);
    if (headerSize == 0)
        return DIB_FAILED;
    CMemoryBlock* block = CMemoryBlock::Allocate(PictureSize(header));
    if (!block)
        return DIB_FAILED;
    std::memcpy(block->Lock(), header, headerSize);
    block->Unlock();
    return Attach(block);
}

DibResult CDibPacked::Load(PictureSource source, uint32_t options, CDib* reference)
{
    CMemoryBlock* block = source.Open().release();
    if (!block)
        return DIB_FAILED;

    if (options & LOAD_PRIVATE_COPY) {
        const uint8_t* bytes = block->Lock();
        CMemoryBlock* copy = bytes ? CMemoryBlock::Allocate(block->Size()) : nullptr;
        if (copy) {
            std::memcpy(copy->Lock(), bytes, block->Size());
            copy->Unlock();
        }
        if (bytes)
            block->Unlock();
        delete block;
        if (!copy)
            return DIB_FAILED;
        block = copy;
    }

    DibResult code = Attach(block);
    if (code == DIB_OK && (options & LOAD_DECOMPRESS) && IsCompressed())
        code = Decompress();
    if (code == DIB_OK && (options & LOAD_MATCH_REFERENCE) && reference && reference->IsCreated())
        code = ConvertFormat(reference->GetFormat(), reference->GetPalette(), 0);
    return code;
}

DibResult CDibPacked::CopyFrom(CDib* source)
{
    auto* packed = dynamic_cast<CDibPacked*>(source);
    if (!packed || source == this)
        return CDib::CopyFrom(source);
    if (!packed->m_info)
        return DIB_NOT_CREATED;
    // Only the picture is copied: a file header or bytes after the picture
    // in the source's block are not part of it.
    CMemoryBlock* copy = CMemoryBlock::Allocate(packed->m_pictureSize);
    if (!copy)
        return DIB_FAILED;
    std::memcpy(copy->Lock(), packed->m_info, packed->m_pictureSize);
    copy->Unlock();
    DibResult code = Attach(copy);
    if (code != DIB_OK)
        return code;
    // The source's palette may hold colours its read-only block never took.
    if (CDibPalette* sourcePalette = packed->GetPalette()) {
        CDibPalette* palette = NewPalette();
        if (palette->CopyFrom(sourcePalette) == DIB_OK)
            SetPalette(palette);
        palette->Release();
    }
    SetFrameCount(packed->GetFrameCount());
    return DIB_OK;
}

DibResult CDibPacked::ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags, uint32_t arg)
{
    if (m_compressed)
        return DIB_COMPRESSED;
    return CDib::ConvertFormat(newFormat, newPalette, flags, arg);
}

DibResult CDibPacked::TakePicture(CDib* from)
{
    auto* other = dynamic_cast<CDibPacked*>(from);
    if (!other)
        return CDib::TakePicture(from);
    SwapPictureFields(*other);
    std::swap(m_block, other->m_block);
    std::swap(m_compressed, other->m_compressed);
    std::swap(m_data, other->m_data);
    std::swap(m_info, other->m_info);
    std::swap(m_available, other->m_available);
    std::swap(m_pictureSize, other->m_pictureSize);
    std::swap(m_dataOffset, other->m_dataOffset);
    std::swap(m_paletteVersion, other->m_paletteVersion);
    OnPictureChanged();
    other->OnPictureChanged();
    return DIB_OK;
}

DibResult CDibPacked::SyncPalette()
{
    if (!m_palette || !m_info || m_palette->GetVersion() == m_paletteVersion)
        return DIB_OK;
    if (m_block->IsReadOnly())
        return DIB_OK;
    const size_t tableEntries = ColourTableEntries(m_dataOffset);
    const size_t count = size_t(m_palette->GetCount()) < tableEntries ? size_t(m_palette->GetCount()) : tableEntries;
    const PaletteEntry* entries = m_palette->Entries();
    uint8_t* table = m_info + INFO_HEADER_SIZE;
    for (size_t i = 0; i < count; ++i) {
        table[4 * i] = entries[i].blue;
        table[4 * i + 1] = entries[i].green;
        table[4 * i + 2] = entries[i].red;
        table[4 * i + 3] = 0;
    }
    m_paletteVersion = m_palette->GetVersion();
    return DIB_OK;
}

DibResult CDibPacked::SetPalette(CDibPalette* palette)
{
    return AttachTablePalette(palette, m_paletteVersion);
}

CDib* CDibPacked::NewImage()
{
    return new CDibPacked;
}

DibResult CDibPacked::Lock(uint8_t** bits, int* pitch)
{
    if (!m_info || !IsCreated())
        return DIB_NOT_CREATED;
    if (m_compressed)
        return DIB_COMPRESSED;
    if (m_useCount == 0) {
        if (m_block->IsReadOnly() && !MakeWritable())
            return DIB_FAILED;
        // The colour table follows palette changes made since, as a
        // section's does when its pixels are reached.
        SyncPalette();
        m_lockedBits = m_info + m_dataOffset;
    }
    const uint32_t rowPitch = DibRowStride(m_width, PixelFormatBits(m_format));
    m_lockedPitch = int(rowPitch);
    if (bits)
        *bits = m_lockedBits;
    if (pitch)
        *pitch = int(rowPitch);
    ++m_useCount;
    return DIB_OK;
}

DibResult CDibPacked::Unlock()
{
    if (m_useCount > 0 && --m_useCount == 0) {
        m_lockedBits = nullptr;
        m_lockedPitch = 0;
    }
    return DIB_OK;
}

void CDibPacked::Touch()
{
    if (!m_info)
        return;
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    volatile uint8_t sink = 0;
    for (size_t offset = m_dataOffset; offset < m_pictureSize; offset += page)
        sink = sink + m_info[offset];
    (void)sink;
}

DibResult CDibPacked::Attach(CMemoryBlock* block)
{
    return AdoptBlock(ReadForeignBlock(block), AdoptMode::Fresh);
}

CMemoryBlock* CDibPacked::ReadForeignBlock(CMemoryBlock* block)
{
    const uint8_t* data = block ? block->Lock() : nullptr;
    if (!data)
        return block; // AdoptBlock refuses it
    uint8_t* converted = nullptr;
    const ForeignPictureResult result = ReadForeignPicture(data, block->Size(), &converted);
    block->Unlock();
    if (result == ForeignPictureResult::Native)
        return block;
    delete block;
    if (result == ForeignPictureResult::Refused)
        return nullptr;
    return CMemoryBlock::Wrap(converted, PictureSize(converted), BlockOwnership::Owned);
}

const uint8_t* CDibPacked::GetInfoHeader() const
{
    return m_info;
}

DibResult CDibPacked::Compress(uint32_t tag)
{
    if (!m_info)
        return DIB_NOT_CREATED;
    if (m_compressed)
        return DIB_ALREADY_COMPRESSED;
    if (m_useCount > 0)
        return DIB_LOCKED;
    const SpriteCodec* codec = FindSpriteEncoder(tag);
    if (!codec)
        return DIB_UNKNOWN_CODEC;
    uint8_t* encoded = codec->encoder(m_info, m_available);
    if (!encoded)
        return DIB_CODEC_REFUSED;
    return AdoptCodecResult(encoded);
}

DibResult CDibPacked::Decompress()
{
    if (!m_info)
        return DIB_NOT_CREATED;
    if (!m_compressed)
        return DIB_NOT_COMPRESSED;
    const SpriteCodec* codec = FindSpriteDecoder(InfoCompression(m_info));
    if (!codec)
        return DIB_UNKNOWN_CODEC;
    uint8_t* decoded = codec->decoder(m_info, m_available);
    if (!decoded)
        return DIB_CODEC_REFUSED;
    return AdoptCodecResult(decoded);
}

int CDibPacked::IsCompressed() const
{
    return m_compressed;
}

DibResult CDibPacked::ExaminePicture(const uint8_t* info, size_t available, PictureFacts& facts) const
{
    if (!IsPictureWithin(info, available))
        return DIB_NOT_A_PICTURE;
    facts.format = PackedPictureFormat(info, available);
    if (facts.format == PF_NONE)
        return DIB_NOT_A_PICTURE;
    facts.compressed = IsTagged(InfoCompression(info)) ? 1 : 0;
    facts.pictureSize = PictureSize(info);
    facts.dataOffset = PictureHeaderSize(info);
    return DIB_OK;
}

DibResult CDibPacked::AdoptBlock(CMemoryBlock* block, AdoptMode mode)
{
    if (!block)
        return DIB_FAILED;
    if (block == m_block)
        return DIB_OK;
    uint8_t* data = block->Lock();
    if (!data) {
        delete block;
        return DIB_FAILED;
    }
    size_t available = block->Size();
    const uint8_t* info = FindInfoHeader(data, available);
    PictureFacts facts;
    const DibResult code = info ? ExaminePicture(info, available, facts) : DIB_NOT_A_PICTURE;
    if (code != DIB_OK) {
        block->Unlock();
        delete block;
        return code;
    }

    // What a new encoding of the same picture keeps.
    CDibPalette* keptPalette = nullptr;
    CDibRegion* keptRegion = nullptr;
    const int keptFrames = m_frameCount;
    const uint32_t keptSourceKey = m_sourceKey, keptDestKey = m_destKey;
    if (mode == AdoptMode::KeepState) {
        if ((keptPalette = m_palette))
            keptPalette->AddRef();
        if ((keptRegion = m_clipRegion))
            keptRegion->AddRef();
    }

    Destroy();
    m_block = block; // stays locked while held
    m_data = data;
    m_info = data + (info - data);
    m_available = available;
    m_pictureSize = facts.pictureSize;
    m_dataOffset = facts.dataOffset;
    m_compressed = facts.compressed;
    m_width = uint16_t(InfoWidth(info));
    m_height = uint16_t(InfoHeight(info));
    m_format = facts.format;
    BuildPaletteFromTable();

    if (mode == AdoptMode::KeepState) {
        SetFrameCount(keptFrames);
        m_sourceKey = keptSourceKey;
        m_destKey = keptDestKey;
        if (keptRegion) {
            SetClipRegion(keptRegion);
            keptRegion->Release();
        }
        if (keptPalette) {
            if (m_palette && keptPalette->GetCount() == m_palette->GetCount())
                SetPalette(keptPalette);
            keptPalette->Release();
        }
    }
    OnPictureChanged();
    return DIB_OK;
}

DibResult CDibPacked::AdoptCodecResult(uint8_t* picture)
{
    // The codecs size their results by PictureSize; the result is examined
    // again on adoption like any other block.
    const size_t size = ReadLE32(picture + BIH_SIZE) == INFO_HEADER_SIZE ? PictureSize(picture) : 0;
    CMemoryBlock* block = CMemoryBlock::Wrap(picture, size, BlockOwnership::Owned);
    return AdoptBlock(block, AdoptMode::KeepState);
}

void CDibPacked::BuildPaletteFromTable()
{
    const uint32_t bits = PixelFormatBits(m_format);
    if (!PixelFormatIsIndexed(m_format) || bits > 8)
        return;
    // The palette always has 2^bits entries; a shorter colour table leaves
    // the rest black rather than reading past the table.
    const int count = 1 << bits;
    const size_t tableEntries = ColourTableEntries(m_dataOffset);
    std::vector<PaletteEntry> entries(static_cast<size_t>(count));
    const uint8_t* table = m_info + INFO_HEADER_SIZE;
    for (size_t i = 0; i < entries.size() && i < tableEntries; ++i)
        entries[i] = PaletteEntry{table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    CDibPalette* palette = NewPalette();
    if (palette->Create(count) == DIB_OK && palette->SetEntries(entries.data(), 0, count) == DIB_OK &&
        CDib::SetPalette(palette) == DIB_OK)
        m_paletteVersion = palette->GetVersion();
    palette->Release();
}

bool CDibPacked::MakeWritable()
{
    CMemoryBlock* copy = CMemoryBlock::Allocate(m_block->Size());
    uint8_t* data = copy ? copy->Lock() : nullptr;
    if (!data) {
        delete copy;
        return false;
    }
    std::memcpy(data, m_data, m_block->Size());
    const size_t infoOffset = size_t(m_info - m_data);
    m_block->Unlock();
    delete m_block;
    m_block = copy;
    m_data = data;
    m_info = data + infoOffset;
    return true;
}

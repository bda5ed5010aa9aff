#include "imaging/CDibSection.h"

#include "imaging/CDibPalette.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>
#include <utility>

CDibSection::~CDibSection()
{
    CDibSection::Destroy();
}

void CDibSection::Reset()
{
    CDib::Reset();
    m_bits = nullptr;
    m_pitch = 0;
    m_paletteVersion = 0;
}

DibResult CDibSection::Create(int width, int height, PixelFormat format, uint32_t, uint32_t)
{
    Destroy();
    // Only the formats with a picture header can be created (not the
    // red-first 24 and 32-bit orders).
    if (!PixelFormatIsKnown(format) || format == PF_BGR24 || format == PF_BGR32 ||
        !IsValidImageSize(width, height))
        return DIB_FAILED;
    const uint32_t pitch = PixelFormatRowPitch(format, width);
    const size_t bytes = size_t(pitch) * size_t(height);
    // Rows are 16-byte aligned at the start so SIMD kernels may use aligned
    // loads on the first column; the size is rounded for aligned_alloc.
    void* memory = std::aligned_alloc(16, (bytes + 15) & ~size_t(15));
    if (!memory)
        return DIB_FAILED;
    std::memset(memory, 0, bytes);
    m_bits = static_cast<uint8_t*>(memory);
    m_pitch = int(pitch);
    m_width = uint16_t(width);
    m_height = uint16_t(height);
    m_format = format;
    return DIB_OK;
}

DibResult CDibSection::Destroy()
{
    std::free(m_bits);
    m_bits = nullptr;
    CDib::Destroy(); // releases palette and region, then Reset
    Reset();
    return DIB_OK;
}

DibResult CDibSection::TakePicture(CDib* from)
{
    auto* other = dynamic_cast<CDibSection*>(from);
    if (!other)
        return CDib::TakePicture(from);
    SwapPictureFields(*other);
    std::swap(m_bits, other->m_bits);
    std::swap(m_pitch, other->m_pitch);
    std::swap(m_paletteVersion, other->m_paletteVersion);
    std::swap(m_colourTable, other->m_colourTable);
    return DIB_OK;
}

DibResult CDibSection::SyncPalette()
{
    if (!m_palette || m_palette->GetVersion() == m_paletteVersion)
        return DIB_OK;
    const PaletteEntry* entries = m_palette->Entries();
    const int count = m_palette->GetCount() < 256 ? m_palette->GetCount() : 256;
    for (int i = 0; i < count; ++i)
        m_colourTable[i] = uint32_t(entries[i].blue) | uint32_t(entries[i].green) << 8 |
                           uint32_t(entries[i].red) << 16;
    m_paletteVersion = m_palette->GetVersion();
    return DIB_OK;
}

DibResult CDibSection::SetPalette(CDibPalette* palette)
{
    return AttachTablePalette(palette, m_paletteVersion);
}

CDib* CDibSection::NewImage()
{
    return new CDibSection;
}

DibResult CDibSection::Lock(uint8_t** bits, int* pitch)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    SyncPalette();
    if (bits)
        *bits = m_bits;
    if (pitch)
        *pitch = m_pitch;
    ++m_useCount;
    return DIB_OK;
}

DibResult CDibSection::Unlock()
{
    if (m_useCount > 0)
        --m_useCount;
    return DIB_OK;
}

void CDibSection::Touch()
{
    if (!m_bits)
        return;
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    const size_t bytes = size_t(m_pitch) * m_height;
    volatile uint8_t sink = 0;
    for (size_t offset = 0; offset < bytes; offset += page)
        sink = sink + m_bits[offset];
    (void)sink;
}

#pragma once
// CDibSection: an off-screen picture in plain owned memory, rows top-down,
// the first row 16-byte aligned, so the vector kernels may load its first
// column aligned. Its colour table mirrors the attached palette for code (the
// editor's views) that wants blue-green-red quads.

#include "imaging/CDib.h"

#include <array>

class CDibSection : public CDib {
public:
    CDibSection() = default;
    ~CDibSection() override;

    void Reset() override;
    [[nodiscard]]
    DibResult Create(int width, int height, PixelFormat format, uint32_t arg1 = 0, uint32_t arg2 = 0) override;
    DibResult Destroy() override;
    int GetKind() const override { return DIB_KIND_SECTION; }
    DibResult SyncPalette() override;
    DibResult SetPalette(CDibPalette* palette) override;
    CDib* NewImage() override;
    [[nodiscard]] DibResult Lock(uint8_t** bits, int* pitch) override;
    DibResult Unlock() override;
    void Touch() override;

    // The DIB colour table, 256 quads of blue, green, red, 0.
    const std::array<uint32_t, 256>& ColourTable() const { return m_colourTable; }
    int Pitch() const { return m_pitch; }
    uint8_t* Bits() const { return m_bits; }

protected:
    // Exchanges the pixel memory and colour table with `from` (a section).
    [[nodiscard]] DibResult TakePicture(CDib* from) override;

private:
    uint8_t* m_bits = nullptr;
    int m_pitch = 0;
    uint32_t m_paletteVersion = 0;
    std::array<uint32_t, 256> m_colourTable{};
};

#pragma once
// CDibPacked: an image whose pixels are a packed picture (info header, colour
// table or masks, data; optionally behind a 14-byte file header) in one memory
// block, the way sprite files are stored. Rows are bottom-up. The picture may
// be encoded by one of the sprite codecs (SpriteCodecs.h); pixel access and
// format conversion then wait for Decompress.
//
// Every block is untrusted: Attach checks the header's sizes and offsets
// against the bytes really there before the image uses any of them.
//
// Images of other kinds load sprite files through it (LoadPicture.h).

#include "common/CMemoryBlock.h"
#include "imaging/CDib.h"
#include "sprites/LoadPicture.h"
#include "sprites/PictureSource.h"

#include <cstddef>
#include <cstdint>

// Attach (and so Load) refuses bytes that are not a picture of this system,
// or whose header claims sizes or offsets beyond the block, with this code.
constexpr DibResult DIB_NOT_A_PICTURE = DIB_FAILED;
// Compress and Decompress give this code when the codec refuses the picture
// (an 8-bit codec asked to encode 24-bit pixels, a damaged data area).
constexpr DibResult DIB_CODEC_REFUSED = DIB_FAILED;

class CDibPacked : public CDib {
public:
    CDibPacked() = default;
    ~CDibPacked() override;

    void Reset() override;
    // A zeroed picture of this size and format in a new block; DIB_FAILED for
    // a format without a picture header (PF_BGR24, PF_BGR32).
    [[nodiscard]]
    DibResult Create(int width, int height, PixelFormat format, uint32_t arg1 = 0, uint32_t arg2 = 0) override;
    // Loads from a file, a resource or a block, with the LOAD_* options
    // (LoadPicture.h). DIB_FAILED when the source cannot be opened or is
    // empty; otherwise Attach's result, then Decompress's and
    // ConvertFormat's when asked for. A block source's block always becomes
    // the image's (it is deleted when the load fails). A failed open or
    // attach leaves the image as it was.
    [[nodiscard]] DibResult Load(PictureSource source, uint32_t options = LOAD_PLAIN, CDib* reference = nullptr);
    // From another packed image: a byte-for-byte copy of its picture, encoded
    // or not. From other kinds: the pixels, upright.
    [[nodiscard]] DibResult CopyFrom(CDib* source) override;
    // DIB_COMPRESSED while the picture is encoded.
    [[nodiscard]] DibResult ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags,
                            uint32_t arg = 0) override;
    DibResult Destroy() override;
    int GetKind() const override { return DIB_KIND_PACKED; }
    // Copies the palette into the picture's colour table when it changed,
    // except into a read-only block (a mapped file, a resource): the image's
    // palette object then holds the colours until the pixels are locked.
    DibResult SyncPalette() override;
    DibResult SetPalette(CDibPalette* palette) override;
    CDib* NewImage() override;
    // DIB_NOT_CREATED without a picture, DIB_COMPRESSED while encoded. The
    // first lock of a picture in a
    // read-only block moves it into a private writable copy, so pixels
    // reached through Lock may always be written.
    [[nodiscard]] DibResult Lock(uint8_t** bits, int* pitch) override;
    DibResult Unlock() override;
    void Touch() override;
    int IsBottomUp() const override { return 1; }

    // Adopts `block` as the image's picture, releasing the old one. The image
    // always takes the block over: when it is refused (null: DIB_FAILED, not
    // a picture: DIB_NOT_A_PICTURE) it is deleted and the image stays as it was.
    // Ordinary bitmaps of other programs (run-length coded, later headers,
    // top-down rows; see ForeignPicture.h) are read into a new block in the
    // system's own form first.
    [[nodiscard]] virtual DibResult Attach(CMemoryBlock* block);
    // The info header inside the held block, null without one.
    virtual const uint8_t* GetInfoHeader() const;
    // Encodes with the codec requested by `tag` ("TRLE", "ARLE", "PRLE",
    // "PKCC"): DIB_NOT_CREATED without a picture, DIB_ALREADY_COMPRESSED,
    // DIB_LOCKED, DIB_UNKNOWN_CODEC for another tag, DIB_CODEC_REFUSED when
    // the codec refuses; the image is then unchanged.
    [[nodiscard]] virtual DibResult Compress(uint32_t tag);
    // Decodes by the compression field: DIB_NOT_CREATED without a picture,
    // DIB_NOT_COMPRESSED, DIB_UNKNOWN_CODEC for an unknown tag,
    // DIB_CODEC_REFUSED when the decoder refuses; the image is then unchanged.
    [[nodiscard]] virtual DibResult Decompress();
    virtual int IsCompressed() const;

    // The block and the size of the picture in it (PictureSize bytes from
    // the info header on), for writers of sprite files.
    CMemoryBlock* GetBlock() const { return m_block; }
    size_t GetPictureSize() const { return m_pictureSize; }

protected:
    // What Attach learns from a header it accepts.
    struct PictureFacts {
        PixelFormat format = PF_NONE;
        int compressed = 0;
        size_t pictureSize = 0;
        size_t dataOffset = 0; // from the info header: pixels or the codec's data area
    };
    enum class AdoptMode {
        Fresh,     // a new picture: nothing of the old image survives
        KeepState, // a new encoding of the same picture: frame count, keys,
                   // clip region and (when it still fits) palette survive
    };

    // Checks the picture at `info`, which has `available` bytes up to the end
    // of its block. 0 and `facts` filled, or the refusal code.
    [[nodiscard]] virtual DibResult ExaminePicture(const uint8_t* info, size_t available, PictureFacts& facts) const;
    // Called after a picture was adopted.
    virtual void OnPictureChanged() {}
    // Exchanges the block and what was learnt from it with `from` (a packed
    // image), so a converted picture replaces this one without a copy.
    [[nodiscard]] DibResult TakePicture(CDib* from) override;

    [[nodiscard]] DibResult AdoptBlock(CMemoryBlock* block, AdoptMode mode);
    // `block` itself when it holds a picture in the system's own form (or
    // none), a new block with the plain picture when it holds another
    // program's bitmap, null when that bitmap is refused. Takes the block over.
    static CMemoryBlock* ReadForeignBlock(CMemoryBlock* block);
    // Wraps a codec's result (owned) and adopts it, keeping the image's state.
    DibResult AdoptCodecResult(uint8_t* picture);

    uint8_t* InfoHeader() const { return m_info; }
    size_t AvailableBytes() const { return m_available; }
    size_t DataOffset() const { return m_dataOffset; }

private:
    void BuildPaletteFromTable();
    bool MakeWritable();

    CMemoryBlock* m_block = nullptr; // owned; locked once while held
    int m_compressed = 0;
    uint8_t* m_data = nullptr;       // start of the block
    uint8_t* m_info = nullptr;       // info header inside the block
    size_t m_available = 0;          // bytes from m_info to the end of the block
    size_t m_pictureSize = 0;
    size_t m_dataOffset = 0;
    uint32_t m_paletteVersion = 0;   // version of the palette last written into the colour table
};

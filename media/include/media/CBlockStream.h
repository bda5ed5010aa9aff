#pragma once
// A stream over the bytes of a CMemoryBlock. The block stays locked for the
// stream's lifetime, so reads copy straight out of it (a mapped file, say).
// A writing stream grows its storage in steps of at least 32768 bytes; when
// it grows, the bytes move to a new block that the stream owns, so a caller
// that handed a block in reads the result through GetBlock()/GetData(), never
// through its own pointer.

#include "common/CMemoryBlock.h"
#include "media/CStream.h"

enum class BlockStreamMode { Read = 1, Write = 2 };

class CBlockStream : public CStream {
public:
    // A null block, or one whose memory cannot be locked, makes an unusable
    // stream (health 0). A writing stream may start without a block.
    CBlockStream(CMemoryBlock* block, BlockStreamMode mode, BlockOwnership ownership);
    // A writing stream over a fresh block of `capacity` bytes.
    static CBlockStream* CreateWriter(size_t capacity = 0);
    ~CBlockStream() override;
    CBlockStream(const CBlockStream&) = delete;
    CBlockStream& operator=(const CBlockStream&) = delete;

    size_t Read(void* buffer, size_t length) override;
    size_t Write(const void* buffer, size_t length) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsAtEnd() override { return m_position >= m_length; }
    uint32_t GetCapabilities() const override;
    int GetHealth() const override { return m_usable ? static_cast<int>(m_mode) : 0; }
    int64_t GetSize() override { return static_cast<int64_t>(m_length); }

    CMemoryBlock* GetBlock() const { return m_block; }
    // The locked bytes; the first GetSize() of them are the stream's data.
    const uint8_t* GetData() const { return m_data; }

private:
    bool Grow(size_t needed);

    BlockStreamMode m_mode;
    CMemoryBlock* m_block = nullptr;
    uint8_t* m_data = nullptr;
    size_t m_position = 0;
    size_t m_length = 0;
    bool m_owns = false;
    bool m_usable = false;
};

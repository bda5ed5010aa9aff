#pragma once
// CAviMemoryTarget: an AVI file written into memory, for a caller that
// hands the finished bytes on whole.

#include "avi/IAviByteTarget.h"

#include <utility>
#include <vector>

class CAviMemoryTarget : public IAviByteTarget {
public:
    uint64_t Size() const override { return m_bytes.size(); }
    bool WriteAt(uint64_t position, const uint8_t* bytes, size_t count) override;
    // The bytes written, taken out (the target is then empty).
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

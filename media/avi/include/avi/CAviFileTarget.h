#pragma once
// CAviFileTarget: an AVI file written straight into a file that appears
// whole or not at all (CAtomicOutputFile); the caller commits it.

#include "avi/IAviByteTarget.h"

class CAtomicOutputFile;

class CAviFileTarget : public IAviByteTarget {
public:
    explicit CAviFileTarget(CAtomicOutputFile& file) : m_file(file) {}
    uint64_t Size() const override;
    bool WriteAt(uint64_t position, const uint8_t* bytes, size_t count) override;

private:
    CAtomicOutputFile& m_file;
};

#pragma once
// An output file that appears whole or not at all: the bytes go to a
// temporary file beside the target, which replaces the target only on
// Commit. Dropping the object without a commit removes the temporary file.
// Unlike a whole-buffer write, the writers stream through it in blocks and
// can patch header fields once the data length is known.

#include <cstddef>
#include <cstdint>
#include <string>

class CAtomicOutputFile {
public:
    CAtomicOutputFile() = default;
    ~CAtomicOutputFile();
    CAtomicOutputFile(const CAtomicOutputFile&) = delete;
    CAtomicOutputFile& operator=(const CAtomicOutputFile&) = delete;

    bool Create(const std::string& path);
    // Appends at the end; false on any failure (then every later call fails).
    bool Write(const void* data, size_t size);
    // Overwrites bytes already written.
    bool WriteAt(uint64_t offset, const void* data, size_t size);
    uint64_t Size() const { return m_size; }
    bool Commit();

private:
    void Discard();

    int m_fd = -1;
    std::string m_path;
    std::string m_temporary;
    uint64_t m_size = 0;
    bool m_failed = false;
};

#pragma once
// CAtomicOutputFile: the one place where the programs write a file whole or
// not at all. The bytes go to a temporary file beside the target (same
// folder, so the final rename cannot cross file systems); Commit flushes it
// to disk and renames it over the target. Until then the target keeps its
// old contents, whatever happens: a failed write, a full disk, a crash, or
// the object dropped without a commit (which removes the temporary file).
//
// A writer killed part way leaves its temporary file ("NAME.tmpXXXXXX");
// the next Create for the same target removes such leftovers. Each writer
// holds an exclusive lock on its temporary file for as long as it exists,
// so a file that another live writer is still filling is never taken.
//
// Callers may stream the bytes in blocks and patch fields already written
// (a header whose lengths are known only at the end); WriteFileAtomically
// (AtomicFile.h) is the one-buffer form.

#include <cstddef>
#include <cstdint>
#include <string>

class CAtomicOutputFile {
public:
    CAtomicOutputFile() = default;
    ~CAtomicOutputFile();
    CAtomicOutputFile(const CAtomicOutputFile&) = delete;
    CAtomicOutputFile& operator=(const CAtomicOutputFile&) = delete;

    // Starts a new temporary file for `path` (dropping one begun before,
    // and removing any that writers of `path` killed part way left behind);
    // false when it cannot be made (a missing or read-only folder).
    bool Create(const std::string& path);
    // Appends at the end; false on any failure, after which every later call
    // fails too, so a writer may check only its last call.
    bool Write(const void* data, size_t size);
    // Overwrites (or extends with) bytes at `offset`.
    [[nodiscard]] bool WriteAt(uint64_t offset, const void* data, size_t size);
    uint64_t Size() const { return m_size; }
    // Flushes and renames the file over the target; true when the target now
    // holds exactly what was written. On failure the temporary file is
    // removed and the target is untouched. Either way the object is done.
    bool Commit();
    // As Commit, but the file appears only where nothing is yet: an existing
    // target is left as it is and TargetExists returned.
    enum class CommitResult { Done, TargetExists, Failed };
    [[nodiscard]] CommitResult CommitWithoutReplacing();

    // Removes the temporary files of `path` that no live writer holds.
    static void RemoveAbandonedTemporaries(const std::string& path);

private:
    void Discard();

    int m_fd = -1;
    std::string m_path;
    std::string m_temporary;
    uint64_t m_size = 0;
    bool m_failed = false;
};

#pragma once
// CMemoryBlock: the bytes behind a picture or a sound. Five kinds:
//  - wrapped: memory handed over (by a codec, say), freed on destruction when owned;
//  - global: a fresh zeroed allocation, fixed or movable;
//  - mapped file: a file opened or created by name and mapped at the first lock;
//  - resource: a read-only block from a table compiled into the program;
//  - window: a read-only range of another block (which must outlive it).
// The data pointer is valid only between Lock and the matching Unlock.
// It needs nothing but the system, so it lives at the bottom of the suite:
// pictures, sounds and videos all read their bytes through it.

#include <cstddef>
#include <cstdint>
#include <string>

// A block compiled into the program: what a module's resources were.
struct ResourceEntry {
    const char* name;
    const char* type;
    const uint8_t* data;
    size_t size;
};

struct ResourceTable {
    const ResourceEntry* entries;
    size_t count;
};

enum class BlockKind { Wrapped = 1, Global = 2, MappedFile = 3, Resource = 4, Window = 5 };
enum class BlockOwnership { Borrowed, Owned };
enum class FileAccess { ReadOnly, ReadWrite };

// Options for a created mapped file.
constexpr uint32_t MAPPED_FILE_TEMPORARY = 0x1;       // delete the file when the block goes
constexpr uint32_t MAPPED_FILE_DELETE_ON_CLOSE = 0x2; // same, kept for the callers that name it so

class CMemoryBlock {
public:
    // When owned, `data` must have come from malloc or calloc (AllocPicture's
    // pictures do): the block frees it with free.
    static CMemoryBlock* Wrap(void* data, size_t size, BlockOwnership ownership);
    // `size` zeroed bytes; null when the allocation fails or is absurd.
    static CMemoryBlock* Allocate(size_t size, bool movable = false);
    // Maps an existing file; its size is the file's.
    static CMemoryBlock* OpenFile(const std::string& path, FileAccess access);
    // Creates (or truncates) a file of `size` bytes, mapped read-write.
    static CMemoryBlock* CreateFile(const std::string& path, size_t size, uint32_t options = 0);
    // Finds a resource by name and type (compared ignoring case).
    static CMemoryBlock* FindResource(const ResourceTable* table, const char* name, const char* type);
    // A read-only view of bytes [offset, offset + size) of `parent`; null when
    // the range is outside the parent.
    static CMemoryBlock* Window(CMemoryBlock* parent, size_t offset, size_t size);

    ~CMemoryBlock();
    CMemoryBlock(const CMemoryBlock&) = delete;
    CMemoryBlock& operator=(const CMemoryBlock&) = delete;

    // Returns the data pointer (null when there is no data) and counts the lock.
    uint8_t* Lock();
    void Unlock();
    size_t Size() const { return m_size; }
    BlockKind Kind() const { return m_kind; }
    bool IsReadOnly() const { return m_readOnly; }
    int LockCount() const { return m_lockCount; }
    // Writes the whole block to `path` (whole or not at all); the number of
    // bytes written, 0 on failure.
    size_t SaveToFile(const std::string& path);

private:
    CMemoryBlock(BlockKind kind, size_t size) : m_kind(kind), m_size(size) {}

    BlockKind m_kind;
    size_t m_size;
    uint8_t* m_data = nullptr;
    int m_lockCount = 0;
    bool m_readOnly = false;
    bool m_owned = false;
    // Mapped files.
    int m_fd = -1;
    std::string m_path;
    bool m_deleteOnClose = false;
    // Windows.
    CMemoryBlock* m_parent = nullptr;
    size_t m_offset = 0;
};

#include "common/CMemoryBlock.h"

#include "common/AtomicFile.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Nothing the suite handles comes near this; larger requests are refused
// rather than attempted.
constexpr size_t kMaxBlockSize = size_t(1) << 31;
} // namespace

CMemoryBlock* CMemoryBlock::Wrap(void* data, size_t size, BlockOwnership ownership)
{
    auto* block = new CMemoryBlock(BlockKind::Wrapped, size);
    block->m_data = static_cast<uint8_t*>(data);
    block->m_owned = ownership == BlockOwnership::Owned;
    return block;
}

CMemoryBlock* CMemoryBlock::Allocate(size_t size, bool)
{
    if (size > kMaxBlockSize)
        return nullptr;
    void* data = std::calloc(size ? size : 1, 1);
    if (!data)
        return nullptr;
    auto* block = new CMemoryBlock(BlockKind::Global, size);
    block->m_data = static_cast<uint8_t*>(data);
    block->m_owned = true;
    return block;
}

CMemoryBlock* CMemoryBlock::OpenFile(const std::string& path, FileAccess access)
{
    const bool readOnly = access == FileAccess::ReadOnly;
    int fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || size_t(info.st_size) > kMaxBlockSize) {
        ::close(fd);
        return nullptr;
    }
    auto* block = new CMemoryBlock(BlockKind::MappedFile, size_t(info.st_size));
    block->m_fd = fd;
    block->m_readOnly = readOnly;
    block->m_path = path;
    return block;
}

CMemoryBlock* CMemoryBlock::CreateFile(const std::string& path, size_t size, uint32_t options)
{
    if (size > kMaxBlockSize)
        return nullptr;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    if (::ftruncate(fd, off_t(size)) != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        return nullptr;
    }
    auto* block = new CMemoryBlock(BlockKind::MappedFile, size);
    block->m_fd = fd;
    block->m_path = path;
    block->m_deleteOnClose = options & (MAPPED_FILE_TEMPORARY | MAPPED_FILE_DELETE_ON_CLOSE);
    return block;
}

CMemoryBlock* CMemoryBlock::FindResource(const ResourceTable* table, const char* name, const char* type)
{
    if (!table || !name || !type)
        return nullptr;
    for (size_t i = 0; i < table->count; ++i) {
        const ResourceEntry& entry = table->entries[i];
        if (::strcasecmp(entry.name, name) == 0 && ::strcasecmp(entry.type, type) == 0) {
            auto* block = new CMemoryBlock(BlockKind::Resource, entry.size);
            block->m_data = const_cast<uint8_t*>(entry.data);
            block->m_readOnly = true;
            return block;
        }
    }
    return nullptr;
}

CMemoryBlock* CMemoryBlock::Window(CMemoryBlock* parent, size_t offset, size_t size)
{
    if (!parent || offset > parent->Size() || size > parent->Size() - offset)
        return nullptr;
    auto* block = new CMemoryBlock(BlockKind::Window, size);
    block->m_parent = parent;
    block->m_offset = offset;
    block->m_readOnly = true;
    return block;
}

CMemoryBlock::~CMemoryBlock()
{
    switch (m_kind) {
    case BlockKind::Wrapped:
    case BlockKind::Global:
        if (m_owned)
            std::free(m_data);
        break;
    case BlockKind::MappedFile:
        if (m_data)
            ::munmap(m_data, m_size);
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_deleteOnClose)
            ::unlink(m_path.c_str());
        break;
    case BlockKind::Window:
        if (m_lockCount > 0 && m_parent)
            m_parent->Unlock();
        break;
    case BlockKind::Resource:
        break;
    }
}

uint8_t* CMemoryBlock::Lock()
{
    switch (m_kind) {
    case BlockKind::MappedFile:
        if (m_lockCount == 0) {
            if (m_size == 0)
                return nullptr;
            void* view = ::mmap(nullptr, m_size, m_readOnly ? PROT_READ : PROT_READ | PROT_WRITE, MAP_SHARED,
                                m_fd, 0);
            if (view == MAP_FAILED)
                return nullptr;
            m_data = static_cast<uint8_t*>(view);
        }
        break;
    case BlockKind::Window:
        if (m_lockCount == 0) {
            uint8_t* parentData = m_parent->Lock();
            if (!parentData)
                return nullptr;
            m_data = parentData + m_offset;
        }
        break;
    default:
        if (!m_data)
            return nullptr;
        break;
    }
    ++m_lockCount;
    return m_data;
}

void CMemoryBlock::Unlock()
{
    if (m_lockCount == 0)
        return;
    if (--m_lockCount > 0)
        return;
    if (m_kind == BlockKind::MappedFile && m_data) {
        ::munmap(m_data, m_size);
        m_data = nullptr;
    } else if (m_kind == BlockKind::Window) {
        m_parent->Unlock();
        m_data = nullptr;
    }
}

size_t CMemoryBlock::SaveToFile(const std::string& path)
{
    uint8_t* data = Lock();
    if (!data && m_size != 0)
        return 0;
    bool ok = WriteFileAtomically(path, data ? data : reinterpret_cast<const uint8_t*>(""), m_size);
    if (data)
        Unlock();
    return ok ? m_size : 0;
}

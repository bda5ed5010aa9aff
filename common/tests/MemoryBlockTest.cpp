#include "common/CMemoryBlock.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(MemoryBlock, GlobalBlocksAreZeroedAndCountLocks)
{
    CMemoryBlock* block = CMemoryBlock::Allocate(16);
    ASSERT_NE(block, nullptr);
    uint8_t* a = block->Lock();
    uint8_t* b = block->Lock();
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[15], 0);
    EXPECT_EQ(block->LockCount(), 2);
    block->Unlock();
    block->Unlock();
    block->Unlock(); // one too many is harmless
    EXPECT_EQ(block->LockCount(), 0);
    delete block;
    EXPECT_EQ(CMemoryBlock::Allocate(size_t(1) << 40), nullptr);
}

TEST(MemoryBlock, MappedFilesRoundTripThroughSave)
{
    fs::path dir = fs::temp_directory_path() / ("block-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / "made.bin").string();
    CMemoryBlock* created = CMemoryBlock::CreateFile(path, 5);
    ASSERT_NE(created, nullptr);
    std::memcpy(created->Lock(), "hello", 5);
    created->Unlock();
    delete created;
    EXPECT_EQ(fs::file_size(path), 5u);

    CMemoryBlock* opened = CMemoryBlock::OpenFile(path, FileAccess::ReadOnly);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->IsReadOnly());
    EXPECT_EQ(std::memcmp(opened->Lock(), "hello", 5), 0);
    opened->Unlock();
    std::string copy = (dir / "copy.bin").string();
    EXPECT_EQ(opened->SaveToFile(copy), 5u);
    EXPECT_EQ(fs::file_size(copy), 5u);
    delete opened;

    CMemoryBlock* temporary = CMemoryBlock::CreateFile((dir / "tmp.bin").string(), 3, MAPPED_FILE_TEMPORARY);
    ASSERT_NE(temporary, nullptr);
    delete temporary;
    EXPECT_FALSE(fs::exists(dir / "tmp.bin"));
    EXPECT_EQ(CMemoryBlock::OpenFile((dir / "missing.bin").string(), FileAccess::ReadOnly), nullptr);
    EXPECT_EQ(CMemoryBlock::OpenFile(dir.string(), FileAccess::ReadOnly), nullptr); // a folder
    fs::remove_all(dir);
}

TEST(MemoryBlock, ResourcesAndWindows)
{
    static const uint8_t bytes[] = {1, 2, 3, 4, 5};
    static const ResourceEntry entries[] = {{"CURSOR", "BITMAP", bytes, sizeof bytes}};
    ResourceTable table{entries, 1};
    CMemoryBlock* resource = CMemoryBlock::FindResource(&table, "cursor", "bitmap");
    ASSERT_NE(resource, nullptr);
    EXPECT_TRUE(resource->IsReadOnly());
    EXPECT_EQ(CMemoryBlock::FindResource(&table, "other", "bitmap"), nullptr);

    CMemoryBlock* window = CMemoryBlock::Window(resource, 1, 3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Lock()[0], 2);
    window->Unlock();
    EXPECT_EQ(CMemoryBlock::Window(resource, 3, 3), nullptr);
    delete window;
    delete resource;
}

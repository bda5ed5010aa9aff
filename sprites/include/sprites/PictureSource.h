#pragma once
// PictureSource: where the bytes of a picture to load come from, named by
// type instead of by flag bits: a file of the game's data (mapped read-only),
// a block compiled into the program, or a block already in memory. A source
// is opened once; a block handed in goes to the image that loads it.

#include "common/CMemoryBlock.h"

#include <memory>
#include <string>

class PictureSource {
public:
    enum class Kind { File, Resource, Block };

    // A file by name; data names such as "menu\cursor.bmp" work (DataPath.h).
    static PictureSource File(std::string path);
    // A resource of `table` by name and type (both compared ignoring case).
    static PictureSource Resource(const ResourceTable& table, std::string name, std::string type);
    // Bytes in memory, used in place. The block belongs to the load from
    // now on: it becomes the picture's or is deleted.
    static PictureSource Block(std::unique_ptr<CMemoryBlock> block);

    Kind GetKind() const { return m_kind; }
    // The source's bytes, or null when the file cannot be mapped, the
    // resource is not in its table or no block was given. A block source
    // hands its block over, so a second Open gives null.
    std::unique_ptr<CMemoryBlock> Open();

private:
    explicit PictureSource(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    std::string m_name; // file path, or resource name
    std::string m_type; // resource type
    const ResourceTable* m_table = nullptr;
    std::unique_ptr<CMemoryBlock> m_block;
};

#include "sprites/PictureSource.h"

#include "common/DataPath.h"

#include <utility>

PictureSource PictureSource::File(std::string path)
{
    PictureSource source(Kind::File);
    source.m_name = std::move(path);
    return source;
}

PictureSource PictureSource::Resource(const ResourceTable& table, std::string name, std::string type)
{
    PictureSource source(Kind::Resource);
    source.m_table = &table;
    source.m_name = std::move(name);
    source.m_type = std::move(type);
    return source;
}

PictureSource PictureSource::Block(std::unique_ptr<CMemoryBlock> block)
{
    PictureSource source(Kind::Block);
    source.m_block = std::move(block);
    return source;
}

std::unique_ptr<CMemoryBlock> PictureSource::Open()
{
    switch (m_kind) {
    case Kind::File:
        return std::unique_ptr<CMemoryBlock>(CMemoryBlock::OpenFile(MapDataPath(m_name), FileAccess::ReadOnly));
    case Kind::Resource:
        return std::unique_ptr<CMemoryBlock>(CMemoryBlock::FindResource(m_table, m_name.c_str(), m_type.c_str()));
    case Kind::Block:
        return std::move(m_block);
    }
    return nullptr;
}

#pragma once
// Walks the chunks of a RIFF file through a readable, seekable stream. It
// keeps a stack of the chunks it has descended into; searches look inside the
// innermost one. Sizes read from the file are never trusted: a search stops
// at the end of its parent or of the stream, whichever comes first, and moves
// forward by at least a chunk header each step.

#include "media/CStream.h"

#include <cstdint>
#include <vector>

class CRiffParser {
public:
    // Unusable when the stream cannot both read and seek.
    explicit CRiffParser(CStream* stream);

    bool IsUsable() const { return m_usable; }
    // Enters the "RIFF" form of the given type; the stack must be empty.
    bool DescendForm(uint32_t formType);
    // Finds a chunk (by id) or a LIST (by list type) inside the innermost open
    // form or LIST and enters it; the stream is left at its data (for a LIST,
    // at its list type).
    bool FindChunk(uint32_t id);
    bool FindList(uint32_t listType);
    // Leaves the innermost chunk and seeks to the data start of its parent,
    // ready for the next search.
    void Ascend();

    // The innermost open chunk: where its data start and how many bytes it
    // claims (possibly more than the stream holds).
    int64_t GetChunkStart() const;
    uint32_t GetChunkSize() const;
    // The bytes of the innermost chunk that the stream really holds.
    uint32_t GetAvailableSize() const;
    size_t GetDepth() const { return m_stack.size(); }

private:
    enum class Kind { Form, Chunk, List };
    struct Open {
        Kind kind;
        int64_t start;
        uint32_t size;
    };

    bool Find(uint32_t id, Kind kind);
    bool ReadTag(uint32_t& tag);

    CStream* m_stream;
    bool m_usable = false;
    std::vector<Open> m_stack;
};

#include "editor/CFrameSequence.h"

#include <cassert>
#include <utility>

void CFrameSequence::SetCurrent(int index)
{
    const int count = Count();
    m_current = index < 0 || count == 0 ? 0 : index >= count ? count - 1 : index;
}

const CStoredFrame* CFrameSequence::At(int index) const
{
    if (index < 0)
        return nullptr;
    auto* node = m_frames.FindIndex(size_t(index));
    return node ? node->value.get() : nullptr;
}

std::vector<const CStoredFrame*> CFrameSequence::Frames() const
{
    std::vector<const CStoredFrame*> frames;
    frames.reserve(m_frames.Count());
    m_frames.ForEach([&](const FrameRef& frame) { frames.push_back(frame.get()); });
    return frames;
}

std::vector<FrameRef> CFrameSequence::Refs() const
{
    std::vector<FrameRef> frames;
    frames.reserve(m_frames.Count());
    m_frames.ForEach([&](const FrameRef& frame) { frames.push_back(frame); });
    return frames;
}

FrameRef CFrameSequence::Ref(int index) const
{
    if (index < 0)
        return {};
    auto* node = m_frames.FindIndex(size_t(index));
    return node ? node->value : FrameRef();
}

void CFrameSequence::Insert(int position, FrameRef frame)
{
    assert(position >= 0 && position <= Count());
    // InsertBefore a null node appends.
    m_frames.InsertBefore(m_frames.FindIndex(size_t(position)), std::move(frame));
}

FrameRef CFrameSequence::Remove(int position)
{
    auto* node = m_frames.FindIndex(size_t(position));
    assert(position >= 0 && node);
    return m_frames.Remove(node);
}

FrameRef CFrameSequence::Replace(int position, FrameRef frame)
{
    auto* node = m_frames.FindIndex(size_t(position));
    assert(position >= 0 && node);
    std::swap(node->value, frame);
    return frame;
}

void CFrameSequence::Exchange(std::vector<FrameRef>& frames, int& current)
{
    std::vector<FrameRef> old;
    old.reserve(m_frames.Count());
    while (!m_frames.IsEmpty())
        old.push_back(m_frames.Remove(m_frames.Head()));
    for (FrameRef& frame : frames)
        m_frames.AddTail(std::move(frame));
    frames = std::move(old);
    const int previous = m_current;
    SetCurrent(current);
    current = previous;
}

void CFrameSequence::Clear()
{
    m_frames.RemoveAll();
    m_current = 0;
}

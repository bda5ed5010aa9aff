#include "CFramePacker.h"

#include <algorithm>
#include <memory>

void CFramePacker::Pack(size_t index, std::vector<uint8_t> picture)
{
    auto held = std::make_shared<std::vector<uint8_t>>(std::move(picture));
    m_queue.Add([this, index, held] {
        FrameRef frame = CStoredFrame::FromPicture(held->data(), held->size());
        held->clear();
        held->shrink_to_fit();
        Put(index, frame);
        return frame != nullptr;
    });
}

void CFramePacker::Make(size_t index, std::function<FrameRef()> make)
{
    m_queue.Add([this, index, make = std::move(make)] {
        FrameRef frame = make();
        const bool made = frame != nullptr;
        Put(index, std::move(frame));
        return made;
    });
}

void CFramePacker::Put(size_t index, FrameRef frame)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < m_frames.size())
        m_frames[index] = std::move(frame);
}

bool CFramePacker::Finish(std::vector<FrameRef>& frames, const std::vector<bool>& repeats)
{
    const bool stored = m_queue.Finish();
    std::lock_guard<std::mutex> lock(m_mutex);
    frames = std::move(m_frames);
    m_frames.clear();
    for (size_t i = 1; i < frames.size() && i < repeats.size(); ++i)
        if (repeats[i])
            frames[i] = frames[i - 1];
    return stored && std::all_of(frames.begin(), frames.end(), [](const FrameRef& frame) { return frame != nullptr; });
}

#include "CReplaceFramesCommand.h"

#include <utility>

CReplaceFramesCommand::CReplaceFramesCommand(std::string name, std::vector<FrameRef> frames, int current)
    : m_name(std::move(name)), m_frames(std::move(frames)), m_current(current)
{
}

void CReplaceFramesCommand::CollectFrames(std::vector<const CStoredFrame*>& out) const
{
    for (const FrameRef& frame : m_frames)
        out.push_back(frame.get());
}

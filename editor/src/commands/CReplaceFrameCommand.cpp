#include "CReplaceFrameCommand.h"

#include <utility>

CReplaceFrameCommand::CReplaceFrameCommand(std::string name, int position, FrameRef frame)
    : m_name(std::move(name)), m_position(position), m_other(std::move(frame))
{
}

void CReplaceFrameCommand::Exchange(CFrameSequence& frames)
{
    m_other = frames.Replace(m_position, std::move(m_other));
    frames.SetCurrent(m_position);
}

void CReplaceFrameCommand::CollectFrames(std::vector<const CStoredFrame*>& out) const
{
    out.push_back(m_other.get());
}

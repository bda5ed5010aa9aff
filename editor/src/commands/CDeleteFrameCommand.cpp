#include "CDeleteFrameCommand.h"

#include <utility>

CDeleteFrameCommand::CDeleteFrameCommand(std::string name, int position) : m_name(std::move(name)), m_position(position) {}

void CDeleteFrameCommand::Execute(CFrameSequence& frames)
{
    m_previousCurrent = frames.Current();
    m_frame = frames.Remove(m_position);
    // SetCurrent clamps: past the end moves back by one, none left gives 0.
    frames.SetCurrent(m_previousCurrent);
}

void CDeleteFrameCommand::Undo(CFrameSequence& frames)
{
    frames.Insert(m_position, std::move(m_frame));
    frames.SetCurrent(m_previousCurrent);
}

void CDeleteFrameCommand::CollectFrames(std::vector<const CStoredFrame*>& out) const
{
    if (m_frame)
        out.push_back(m_frame.get());
}

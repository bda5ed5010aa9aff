#include "CInsertFrameCommand.h"

#include <utility>

CInsertFrameCommand::CInsertFrameCommand(std::string name, FrameRef frame, int position)
    : m_name(std::move(name)), m_frame(std::move(frame)), m_position(position)
{
}

void CInsertFrameCommand::Execute(CFrameSequence& frames)
{
    m_previousCurrent = frames.Current();
    frames.Insert(m_position, std::move(m_frame));
    frames.SetCurrent(m_position);
}

void CInsertFrameCommand::Undo(CFrameSequence& frames)
{
    m_frame = frames.Remove(m_position);
    frames.SetCurrent(m_previousCurrent);
}

void CInsertFrameCommand::CollectFrames(std::vector<const CStoredFrame*>& out) const
{
    if (m_frame)
        out.push_back(m_frame.get());
}

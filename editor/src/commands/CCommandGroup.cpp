#include "CCommandGroup.h"

void CCommandGroup::Execute(CFrameSequence& frames)
{
    for (auto& command : m_commands)
        command->Execute(frames);
}

void CCommandGroup::Undo(CFrameSequence& frames)
{
    for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
        (*it)->Undo(frames);
}

void CCommandGroup::CollectFrames(std::vector<const CStoredFrame*>& out) const
{
    for (const auto& command : m_commands)
        command->CollectFrames(out);
}

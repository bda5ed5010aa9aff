#include "editor/CEditHistory.h"

#include "commands/CCommandGroup.h"
#include "editor/CFrameSequence.h"

#include <unordered_set>
#include <utility>

CEditHistory::CEditHistory() = default;
CEditHistory::~CEditHistory() = default;

void CEditHistory::SetLimits(size_t maxBytes, size_t maxSteps)
{
    m_maxBytes = maxBytes;
    m_maxSteps = maxSteps > 0 ? maxSteps : 1;
}

void CEditHistory::Perform(std::unique_ptr<CEditCommand> command, CFrameSequence& frames)
{
    command->Execute(frames);
    if (m_group)
        m_group->AddExecuted(std::move(command));
    else
        Record(std::move(command), frames);
}

void CEditHistory::BeginGroup(const std::string& name)
{
    if (m_groupDepth++ == 0)
        m_group = std::make_unique<CCommandGroup>(name);
}

void CEditHistory::EndGroup(CFrameSequence& frames)
{
    if (m_groupDepth == 0 || --m_groupDepth > 0)
        return;
    std::unique_ptr<CCommandGroup> group = std::move(m_group);
    if (!group->IsEmpty())
        Record(std::move(group), frames);
}

void CEditHistory::CancelGroup(CFrameSequence& frames)
{
    if (m_groupDepth == 0)
        return;
    m_groupDepth = 0;
    std::unique_ptr<CCommandGroup> group = std::move(m_group);
    group->Undo(frames);
}

void CEditHistory::Record(std::unique_ptr<CEditCommand> command, CFrameSequence& frames)
{
    // A new change cuts off the redo steps; a saved state among them is lost.
    const uint64_t position = m_dropped + m_done;
    if (m_saved != kNeverSaved && m_saved > position)
        m_saved = kNeverSaved;
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_done), m_steps.end());
    m_steps.push_back(std::move(command));
    m_done = m_steps.size();
    Trim(frames);
}

void CEditHistory::Trim(const CFrameSequence& frames)
{
    while (m_steps.size() > 1 && (m_steps.size() > m_maxSteps || HeldBytes(frames) > m_maxBytes))
        DropOldest();
}

void CEditHistory::DropOldest()
{
    m_steps.pop_front();
    --m_done;
    ++m_dropped;
    // The saved state was the one before the dropped step: no longer reachable.
    if (m_saved != kNeverSaved && m_saved < m_dropped)
        m_saved = kNeverSaved;
}

std::string CEditHistory::UndoName() const
{
    return CanUndo() ? m_steps[m_done - 1]->Name() : std::string();
}

std::string CEditHistory::RedoName() const
{
    return CanRedo() ? m_steps[m_done]->Name() : std::string();
}

bool CEditHistory::Undo(CFrameSequence& frames)
{
    if (!CanUndo())
        return false;
    m_steps[--m_done]->Undo(frames);
    return true;
}

bool CEditHistory::Redo(CFrameSequence& frames)
{
    if (!CanRedo())
        return false;
    m_steps[m_done++]->Execute(frames);
    return true;
}

void CEditHistory::Clear()
{
    m_steps.clear();
    m_group.reset();
    m_groupDepth = 0;
    m_done = 0;
    m_dropped = 0;
    m_saved = 0;
}

void CEditHistory::MarkSaved()
{
    m_saved = m_dropped + m_done;
}

bool CEditHistory::IsAtSavedPoint() const
{
    return m_saved == m_dropped + m_done;
}

size_t CEditHistory::HeldBytes(const CFrameSequence& frames) const
{
    std::unordered_set<const CStoredFrame*> live;
    for (const CStoredFrame* frame : frames.Frames())
        live.insert(frame);
    // A frame held by several steps (or repeated by a time stretch) counts once.
    std::unordered_set<const CStoredFrame*> counted;
    std::vector<const CStoredFrame*> held;
    size_t bytes = 0;
    for (const auto& step : m_steps) {
        bytes += kStepOverhead;
        held.clear();
        step->CollectFrames(held);
        for (const CStoredFrame* frame : held) {
            bytes += sizeof(void*);
            if (frame && !live.count(frame) && counted.insert(frame).second)
                bytes += frame->StoredBytes();
        }
    }
    return bytes;
}

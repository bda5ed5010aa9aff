#pragma once
// Replaces the whole sequence (every tool, reverse, time stretch) and sets
// the current index. Execute and Undo are the same exchange of frame lists
// and indices.

#include "editor/CEditCommand.h"
#include "editor/CFrameSequence.h"

#include <string>

#include <vector>

class CReplaceFramesCommand : public CEditCommand {
public:
    CReplaceFramesCommand(std::string name, std::vector<FrameRef> frames, int current);

    const char* Name() const override { return m_name.c_str(); }
    void Execute(CFrameSequence& frames) override { frames.Exchange(m_frames, m_current); }
    void Undo(CFrameSequence& frames) override { frames.Exchange(m_frames, m_current); }
    void CollectFrames(std::vector<const CStoredFrame*>& out) const override;

private:
    std::string m_name;
    std::vector<FrameRef> m_frames;
    int m_current;
};

#pragma once
// Stores a new picture for one frame (the working image committed after
// painting) and makes that frame current. Execute and Undo are the same
// exchange: the command always holds the picture the document does not.

#include "editor/CEditCommand.h"
#include "editor/CFrameSequence.h"

#include <string>

class CReplaceFrameCommand : public CEditCommand {
public:
    CReplaceFrameCommand(std::string name, int position, FrameRef frame);

    const char* Name() const override { return m_name.c_str(); }
    void Execute(CFrameSequence& frames) override { Exchange(frames); }
    void Undo(CFrameSequence& frames) override { Exchange(frames); }
    void CollectFrames(std::vector<const CStoredFrame*>& out) const override;

private:
    void Exchange(CFrameSequence& frames);

    std::string m_name;
    int m_position;
    FrameRef m_other;
};

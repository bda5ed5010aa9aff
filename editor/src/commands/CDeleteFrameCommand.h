#pragma once
// Removes the frame at a position. The current index stays where it was,
// or moves back by one when that was the last frame (0 when none are left).

#include "editor/CEditCommand.h"
#include "editor/CFrameSequence.h"

#include <string>

class CDeleteFrameCommand : public CEditCommand {
public:
    CDeleteFrameCommand(std::string name, int position);

    const char* Name() const override { return m_name.c_str(); }
    void Execute(CFrameSequence& frames) override;
    void Undo(CFrameSequence& frames) override;
    void CollectFrames(std::vector<const CStoredFrame*>& out) const override;

private:
    std::string m_name;
    FrameRef m_frame; // held while the frame is out of the document
    int m_position;
    int m_previousCurrent = 0;
};

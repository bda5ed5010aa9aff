#pragma once
// Inserts one frame at a position and makes it current (paste, import).

#include "editor/CEditCommand.h"
#include "editor/CFrameSequence.h"

#include <string>

class CInsertFrameCommand : public CEditCommand {
public:
    CInsertFrameCommand(std::string name, FrameRef frame, int position);

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

#pragma once
// CEditCommand: one change to a document's frames, with its way back. A
// command is made with everything it needs, so Execute and Undo cannot fail;
// the history calls Execute once to make the change and again to redo it,
// Undo to take it back, always on the frames as the other call left them.
//
// A command keeps only the frames that are not in the document in its
// present state: what Undo (or a redo) will put back. The history measures
// its memory through CollectFrames.

#include <vector>

class CStoredFrame;
class CFrameSequence;

class CEditCommand {
public:
    CEditCommand() = default;
    CEditCommand(const CEditCommand&) = delete;
    CEditCommand& operator=(const CEditCommand&) = delete;
    virtual ~CEditCommand() = default;

    // What the Undo and Redo menu items name ("Undo Resize").
    virtual const char* Name() const = 0;
    virtual void Execute(CFrameSequence& frames) = 0;
    virtual void Undo(CFrameSequence& frames) = 0;
    // Appends the frames this command holds.
    virtual void CollectFrames(std::vector<const CStoredFrame*>& out) const = 0;
};

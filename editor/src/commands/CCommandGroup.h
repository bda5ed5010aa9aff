#pragma once
// Several commands undone and redone as one step (an import that inserts
// many frames, a cut). They run in order and are undone in reverse.

#include "editor/CEditCommand.h"

#include <memory>
#include <string>
#include <vector>

class CCommandGroup : public CEditCommand {
public:
    explicit CCommandGroup(std::string name) : m_name(std::move(name)) {}

    const char* Name() const override { return m_name.c_str(); }
    void Execute(CFrameSequence& frames) override;
    void Undo(CFrameSequence& frames) override;
    void CollectFrames(std::vector<const CStoredFrame*>& out) const override;

    // Adds a command that has been executed already.
    void AddExecuted(std::unique_ptr<CEditCommand> command) { m_commands.push_back(std::move(command)); }
    bool IsEmpty() const { return m_commands.empty(); }

private:
    std::string m_name;
    std::vector<std::unique_ptr<CEditCommand>> m_commands;
};

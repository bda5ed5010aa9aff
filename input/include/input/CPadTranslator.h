#pragma once
// CPadTranslator: one game pad's buttons and axes turned into the game's
// commands (input/PadMapping.h) as presses and releases, the way keys reach
// the game: a command is pressed when the first input mapped to it goes
// down and released when the last one comes up, so the stick and the d-pad
// held together read as one held key.
//
// A command belongs to the mode it was pressed in. When the mode changes
// (a click starts a hunt, Start opens the pause box) everything held is
// released, and an input still held from before does nothing until it is
// pressed again: the A that clicked "start" never fires the first shot.

#include "input/PadMapping.h"

#include <array>
#include <vector>

struct PadEvent {
    PadCommand command = PadCommand::None;
    bool down = false;

    bool operator==(const PadEvent&) const = default;
};

class CPadTranslator {
public:
    CPadTranslator() { m_pressedAs.fill(PadCommand::None); }

    // Each call appends what it caused to `out`.
    void SetMode(PadMode mode, std::vector<PadEvent>& out);
    void OnInput(PadInput input, bool down, std::vector<PadEvent>& out);
    // An axis moved; `value` in SDL's range (PadMapping.h).
    void OnAxis(PadAxis axis, int value, std::vector<PadEvent>& out);
    // The pad is gone: every held command is released.
    void ReleaseAll(std::vector<PadEvent>& out);

    PadMode Mode() const { return m_mode; }
    bool IsHeld(PadCommand command) const;

private:
    void Release(PadInput input, std::vector<PadEvent>& out);
    // A stick direction or trigger with the dead zone's gap applied.
    void OnAnalogue(PadInput input, int amount, std::vector<PadEvent>& out);

    PadMode m_mode = PadMode::Menu;
    std::array<bool, size_t(PadInput::Count)> m_held{};
    // The command each held input pressed, None once spent by a mode change.
    std::array<PadCommand, size_t(PadInput::Count)> m_pressedAs;
    std::array<int, kPadCommandCount> m_holders{};
};

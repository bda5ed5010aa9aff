#include "input/CPadTranslator.h"

#include <cassert>

bool CPadTranslator::IsHeld(PadCommand command) const
{
    return command != PadCommand::None && m_holders[size_t(command)] > 0;
}

void CPadTranslator::Release(PadInput input, std::vector<PadEvent>& out)
{
    const PadCommand command = m_pressedAs[size_t(input)];
    m_pressedAs[size_t(input)] = PadCommand::None;
    if (command == PadCommand::None)
        return;
    int& holders = m_holders[size_t(command)];
    assert(holders > 0); // every input that pressed a command holds it once
    if (--holders == 0)
        out.push_back({command, false});
}

void CPadTranslator::OnInput(PadInput input, bool down, std::vector<PadEvent>& out)
{
    if (input >= PadInput::Count || m_held[size_t(input)] == down)
        return; // a repeat or an unknown input changes nothing
    m_held[size_t(input)] = down;
    if (!down) {
        Release(input, out);
        return;
    }
    const PadBinding& binding = PadBindingOf(input);
    const PadCommand command = m_mode == PadMode::Hunt ? binding.hunt : binding.menu;
    m_pressedAs[size_t(input)] = command;
    if (command != PadCommand::None && m_holders[size_t(command)]++ == 0)
        out.push_back({command, true});
}

void CPadTranslator::OnAnalogue(PadInput input, int amount, std::vector<PadEvent>& out)
{
    if (!m_held[size_t(input)] && amount >= kPadPressAt)
        OnInput(input, true, out);
    else if (m_held[size_t(input)] && amount < kPadReleaseBelow)
        OnInput(input, false, out);
}

void CPadTranslator::OnAxis(PadAxis axis, int value, std::vector<PadEvent>& out)
{
    // Released directions first: a stick flicked from one side to the other
    // between two events never holds both.
    const auto pair = [&](PadInput negative, PadInput positive) {
        OnAnalogue(value < 0 ? positive : negative, 0, out);
        OnAnalogue(value < 0 ? negative : positive, value < 0 ? -value : value, out);
    };
    switch (axis) {
    case PadAxis::LeftX: pair(PadInput::StickLeft, PadInput::StickRight); break;
    case PadAxis::LeftY: pair(PadInput::StickUp, PadInput::StickDown); break;
    case PadAxis::LeftTrigger: OnAnalogue(PadInput::LeftTrigger, value, out); break;
    case PadAxis::RightTrigger: OnAnalogue(PadInput::RightTrigger, value, out); break;
    }
}

void CPadTranslator::SetMode(PadMode mode, std::vector<PadEvent>& out)
{
    if (mode == m_mode)
        return;
    for (size_t i = 0; i < m_pressedAs.size(); ++i)
        Release(PadInput(i), out);
    m_mode = mode;
}

void CPadTranslator::ReleaseAll(std::vector<PadEvent>& out)
{
    for (size_t i = 0; i < m_pressedAs.size(); ++i)
        Release(PadInput(i), out);
    m_held.fill(false);
}

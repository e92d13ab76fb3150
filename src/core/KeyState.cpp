#include "core/KeyState.h"

namespace tarvok {

void ClearKeyState(KeyState& state) { state.Flags.fill(0); }

bool CtrlHeld(const KeyState& state) { return state.Flags[VkControl] != 0; }

bool NoteKeyDown(KeyState& state, uint16_t key)
{
    if (key == VkControl)
        state.Flags[VkControl] = 1;
    // Codes beyond the table have no flag to set.
    if (!CtrlHeld(state) || key >= state.Flags.size())
        return false;
    state.Flags[key] = 1;
    return true;
}

void NoteKeyUp(KeyState& state, uint16_t key)
{
    if (key == VkControl)
        ClearKeyState(state);
}

} // namespace tarvok

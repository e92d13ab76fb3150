#pragma once
#include <array>
#include <cstdint>

namespace tarvok {

// Virtual-key code of either Ctrl key.
inline constexpr uint16_t VkControl = 0x11;

// Which keys have gone down while Ctrl was held, by virtual-key code. The
// flag at VkControl is the Ctrl flag itself.
struct KeyState {
    std::array<uint8_t, 256> Flags{};
};

void ClearKeyState(KeyState& state);
bool CtrlHeld(const KeyState& state);
// Records a key going down. True when the key was recorded under Ctrl, so the
// keyboard commands are to be tested; a key without Ctrl leaves no trace.
bool NoteKeyDown(KeyState& state, uint16_t key);
// Releasing Ctrl forgets everything; other releases change nothing.
void NoteKeyUp(KeyState& state, uint16_t key);

} // namespace tarvok

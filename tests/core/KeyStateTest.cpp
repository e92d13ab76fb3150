#include "core/KeyState.h"

#include <gtest/gtest.h>

namespace tarvok {
namespace {

constexpr uint16_t VkA = 0x41;
constexpr uint16_t VkC = 0x43;
constexpr uint16_t VkShift = 0x10;

int FlagsSet(const KeyState& state)
{
    int n = 0;
    for (uint8_t flag : state.Flags)
        n += flag;
    return n;
}

TEST(KeyStateTest, LettersWithoutCtrlLeaveNoTrace)
{
    KeyState state;
    EXPECT_FALSE(NoteKeyDown(state, VkA));
    EXPECT_FALSE(NoteKeyDown(state, VkShift));
    EXPECT_EQ(FlagsSet(state), 0);
    EXPECT_FALSE(CtrlHeld(state));
}

TEST(KeyStateTest, LettersCollectWhileCtrlIsHeldAndOutliveTheirRelease)
{
    KeyState state;
    EXPECT_TRUE(NoteKeyDown(state, VkControl));
    EXPECT_TRUE(NoteKeyDown(state, VkA));
    NoteKeyUp(state, VkA);
    EXPECT_TRUE(NoteKeyDown(state, VkC));
    EXPECT_TRUE(CtrlHeld(state));
    EXPECT_EQ(state.Flags[VkA], 1);
    EXPECT_EQ(state.Flags[VkC], 1);
    EXPECT_EQ(FlagsSet(state), 3);
}

TEST(KeyStateTest, ReleasingCtrlForgetsEveryLetter)
{
    KeyState state;
    NoteKeyDown(state, VkControl);
    NoteKeyDown(state, VkA);
    NoteKeyUp(state, VkControl);
    EXPECT_EQ(FlagsSet(state), 0);
    // A letter of the next Ctrl press starts from nothing.
    NoteKeyDown(state, VkControl);
    NoteKeyDown(state, VkC);
    EXPECT_EQ(state.Flags[VkA], 0);
    EXPECT_EQ(state.Flags[VkC], 1);
}

TEST(KeyStateTest, ClearingForgetsCtrlTooUntilItGoesDownAgain)
{
    KeyState state;
    NoteKeyDown(state, VkControl);
    ClearKeyState(state);
    EXPECT_FALSE(NoteKeyDown(state, VkA)); // Ctrl still physically held
    EXPECT_EQ(FlagsSet(state), 0);
    EXPECT_TRUE(NoteKeyDown(state, VkControl)); // auto-repeat or a new press
    EXPECT_TRUE(NoteKeyDown(state, VkA));
}

TEST(KeyStateTest, CodesBeyondTheTableAreIgnored)
{
    KeyState state;
    NoteKeyDown(state, VkControl);
    EXPECT_FALSE(NoteKeyDown(state, 256));
    EXPECT_FALSE(NoteKeyDown(state, 0xFFFF));
    EXPECT_EQ(FlagsSet(state), 1);
}

} // namespace
} // namespace tarvok

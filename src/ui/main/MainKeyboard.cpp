// The window's key preview: key state kept across Ctrl presses, and the
// Ctrl+letter commands it runs.
#include "ui/widgets/KeyPreview.h"
#include "ui/main/Main.h"

namespace tarvok::ui {

void TMainForm::ConnectKeyboard()
{
    // The command letters besides Copy (C) and Cut (X) edit nothing.
    Preview = new KeyPreview(
        this, Reporting(&TMainForm::FormKeyDown), Reporting(&TMainForm::FormKeyUp),
        {'F', 'G', 'H', 'J', 'K', 'N', 'P', 'Q', 'W'});
}

void TMainForm::FormKeyDown(uint16_t key)
{
    if (NoteKeyDown(state_.KeyState, key))
        RunKeyCommands();
}

void TMainForm::FormKeyUp(uint16_t key) { NoteKeyUp(state_.KeyState, key); }

// Each test sees the key state the commands before it left. C and P keep the
// rest of the state, so holding Ctrl with either repeats the command; every
// other command forgets all keys first, Ctrl included.
void TMainForm::RunKeyCommands()
{
    KeyState& keys = state_.KeyState;
    auto& flag = keys.Flags;
    if (flag['C']) {
        ChangeSkin1Click();
        flag['C'] = 0;
    }
    if (flag['G'] && flag['J'] && flag['N'] && flag['Q'] && flag['K']) {
        ClearKeyState(keys);
        About1Click();
    }
    if (flag['F']) {
        ClearKeyState(keys);
        MenuImageClick();
    }
    if (flag['H']) {
        ClearKeyState(keys);
        HideMainWindow();
    }
    if (flag['K']) {
        ClearKeyState(keys);
        DefaultSkin1Click();
    }
    if (flag['P']) {
        ComponetsHideShow1Click();
        flag['P'] = 0;
    }
    if (flag['W']) {
        ClearKeyState(keys);
        SetcurrentSkinasWallPaper1Click();
    }
    if (flag['X']) {
        ClearKeyState(keys);
        ClearWallPaper1Click();
    }
}

} // namespace tarvok::ui

// The window's key preview: key state kept across Ctrl presses, and the
// Ctrl+letter commands it runs.
#include "ui/main/Main.h"
#include "ui/widgets/KeyPreview.h"

namespace tarvok::ui {

void TMainForm::ConnectKeyboard()
{
    // The command letters besides Copy (C) and Cut (X) edit nothing.
    Preview = new KeyPreview(this, Reporting(&TMainForm::FormKeyDown), Reporting(&TMainForm::FormKeyUp),
                             {'F', 'G', 'H', 'J', 'K', 'N', 'P', 'Q', 'W'});
}

void TMainForm::FormKeyDown(uint16_t key)
{
    if (state_.NoteKeyDown(key))
        RunKeyCommands();
}

void TMainForm::FormKeyUp(uint16_t key) { state_.NoteKeyUp(key); }

// Each test sees the key state the commands before it left. C and P keep the
// rest of the state, so holding Ctrl with either repeats the command; every
// other command forgets all keys first, Ctrl included.
void TMainForm::RunKeyCommands()
{
    const auto& flag = state_.KeyState().Flags;
    if (flag['C']) {
        ChangeSkin1Click();
        state_.ForgetKey('C');
    }
    if (flag['G'] && flag['J'] && flag['N'] && flag['Q'] && flag['K']) {
        state_.ForgetKeys();
        About1Click();
    }
    if (flag['F']) {
        state_.ForgetKeys();
        MenuImageClick();
    }
    if (flag['H']) {
        state_.ForgetKeys();
        HideMainWindow();
    }
    if (flag['K']) {
        state_.ForgetKeys();
        DefaultSkin1Click();
    }
    if (flag['P']) {
        ComponetsHideShow1Click();
        state_.ForgetKey('P');
    }
    if (flag['W']) {
        state_.ForgetKeys();
        SetcurrentSkinasWallPaper1Click();
    }
    if (flag['X']) {
        state_.ForgetKeys();
        ClearWallPaper1Click();
    }
}

} // namespace tarvok::ui

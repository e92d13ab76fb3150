// The window's key preview: key state kept across Ctrl presses.
#include "ui/KeyPreview.h"
#include "ui/Main.h"

namespace tarvok::ui {

void TMainForm::ConnectKeyboard()
{
    Preview = new KeyPreview(
        this, [this](uint16_t key) { FormKeyDown(key); }, [this](uint16_t key) { FormKeyUp(key); });
}

void TMainForm::FormKeyDown(uint16_t key)
{
    NoteKeyDown(KeyState, key);
}

void TMainForm::FormKeyUp(uint16_t key)
{
    NoteKeyUp(KeyState, key);
}

} // namespace tarvok::ui

#pragma once

class QComboBox;
class QLineEdit;

namespace tarvok::ui {

// Boxes too narrow for some of their texts show a text the program puts in
// them from its start, where the user begins to read, instead of from the
// end, where a new text leaves the cursor. While the user works in the box
// (it has the focus, or they type into it) the cursor is theirs.
void ShowTextFromStart(QLineEdit* edit);
// Also a text the user picks from the box's list.
void ShowTextFromStart(QComboBox* box);

} // namespace tarvok::ui

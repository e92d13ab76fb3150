#include "ui/widgets/TextStart.h"

#include <QComboBox>
#include <QLineEdit>

namespace tarvok::ui {

void ShowTextFromStart(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, [edit] {
        // Typing marks the text modified; a text set from code is not.
        if (!edit->hasFocus() && !edit->isModified())
            edit->setCursorPosition(0);
    });
}

void ShowTextFromStart(QComboBox* box)
{
    ShowTextFromStart(box->lineEdit());
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box] {
        // Text typed to match an item stays as typed.
        if (!box->lineEdit()->isModified())
            box->lineEdit()->setCursorPosition(0);
    });
}

} // namespace tarvok::ui

#pragma once
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

// Fonts, colours and placement shared by the program's own dialogs.
namespace tarvok::ui::look {

// Asked for by name; fontconfig substitutes what is installed.
inline QFont Font(const char* family, int pixels, bool bold = false, bool underline = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

inline void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The colour of a panel's face; the buttons on it keep their own.
inline void SetPanelColour(QWidget* panel, const QColor& colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

// Places a top-level widget of fixed size in the middle of its screen.
inline void CentreOnScreen(QWidget* widget)
{
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = widget->geometry();
    frame.moveCenter(screen->availableGeometry().center());
    widget->move(frame.topLeft());
}

} // namespace tarvok::ui::look

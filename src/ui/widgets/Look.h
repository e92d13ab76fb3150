#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWidget>

// Fonts, colours and placement shared by the program's windows.
namespace tarvok::ui::look {

inline const QColor Black(0, 0, 0);
inline const QColor White(255, 255, 255);
inline const QColor Navy(0, 0, 128);
inline const QColor Green(0, 128, 0);
inline const QColor Lime(0, 255, 0);
inline const QColor Yellow(255, 255, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Aqua(0, 255, 255);
inline const QColor Red(255, 0, 0);
inline const QColor Silver(192, 192, 192);

template <typename Widget> Widget* Place(Widget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

// The family drawn where the named one is not installed. Fontconfig's own
// choice for "MS Sans Serif" is wider than the font the layout was made for
// and cuts captions; in these every caption shows whole at the layout's
// sizes, and the package depends on them. Other names go to fontconfig.
inline QString StandIn(const QString& family)
{
    if (family == QLatin1String("MS Sans Serif"))
        return QStringLiteral("Carlito"); // Calibri's widths
    if (family == QLatin1String("Arial"))
        return QStringLiteral("Liberation Sans"); // Arial's widths
    if (family == QLatin1String("Times New Roman"))
        return QStringLiteral("Liberation Serif"); // Times New Roman's widths
    return QString();
}

// Asked for by name first, so the font itself is used where it is installed.
inline QFont Font(const char* family, int pixels, bool bold = false, bool underline = false)
{
    const QString name = QString::fromLatin1(family);
    QFont font(name);
    if (const QString standIn = StandIn(name); !standIn.isEmpty())
        font.setFamilies({name, standIn});
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

// Screen readers read a control's caption. A control that shows a picture
// or its contents instead is named by its hint.
inline void NameControlsByHints(QWidget* window)
{
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        const auto* label = qobject_cast<const QLabel*>(control);
        const bool captioned = (button && !button->text().isEmpty()) || (label && !label->text().isEmpty());
        if (!captioned && control->accessibleName().isEmpty() && !control->toolTip().isEmpty())
            control->setAccessibleName(control->toolTip());
    }
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

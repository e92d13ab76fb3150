#include "ui/widgets/PlainText.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace tarvok::ui {

void ShowLabelsPlain(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
}

PlainTips::PlainTips(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

bool PlainTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTip().isEmpty())
        return false; // item views and the like show tips of their own
    // The tip label has no plain-text mode: hand it the text escaped, and
    // on one line, as rich text would be wrapped to a narrow block.
    const auto* help = static_cast<const QHelpEvent*>(event);
    const QString text =
        QStringLiteral("<p style='white-space:pre'>") + widget->toolTip().toHtmlEscaped() + QStringLiteral("</p>");
    QToolTip::showText(help->globalPos(), text, widget, QRect(), widget->toolTipDuration());
    return true;
}

} // namespace tarvok::ui

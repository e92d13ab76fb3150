#include "ui/widgets/WorkBar.h"

#include <QPainter>

#include <algorithm>

namespace tarvok::ui {

WorkBar::WorkBar(QWidget* parent, const QColor& fill, const QColor& background)
    : QWidget(parent), fill_(fill), background_(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void WorkBar::SetPermille(int permille)
{
    permille = std::clamp(permille, 0, 1000);
    if (permille == permille_)
        return;
    permille_ = permille;
    update();
}

void WorkBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.fillRect(QRect(0, 0, width() * permille_ / 1000, height()), fill_);
}

} // namespace tarvok::ui

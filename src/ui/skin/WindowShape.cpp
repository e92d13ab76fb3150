#include "ui/skin/WindowShape.h"

#include "ui/skin/SkinCanvas.h"

#include <QFrame>
#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tarvok::ui {
namespace {

// Panels hold controls; every other control's children are its own parts
// (a list's scroll bars, a box's edit line) and lie inside it.
bool IsPanel(const QWidget* widget)
{
    const QMetaObject* kind = widget->metaObject();
    return kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject || kind == &QLabel::staticMetaObject;
}

void AddControls(const QWidget& parent, QPoint origin, QRegion& region)
{
    for (QObject* child : parent.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        // Menus and dialogs are windows of their own, not part of the shape.
        if (!control || control->isWindow())
            continue;
        const QRect place = control->geometry().translated(origin);
        region += place;
        if (IsPanel(control))
            AddControls(*control, place.topLeft(), region);
    }
}

// The skin canvas keeps the shape where the window has one; a plain window
// takes it as its mask.
void Shape(QWidget& form, const QRegion& shape)
{
    for (QObject* child : form.children()) {
        if (auto* canvas = dynamic_cast<SkinCanvas*>(child)) {
            canvas->SetShape(shape);
            return;
        }
    }
    if (shape.isEmpty())
        form.clearMask();
    else
        form.setMask(shape);
}

} // namespace

QRegion RoundedRegion(const QSize& size, int corner)
{
    const int w = size.width();
    const int h = size.height();
    const int r = std::clamp(corner / 2, 0, std::min(w, h) / 2);
    QRegion region(0, r, w, h - 2 * r);
    for (int row = 0; row < r; ++row) {
        // Distance from the ellipse's centre to the middle of this pixel row.
        const double dy = r - row - 0.5;
        const int inset = int(std::lround(r - std::sqrt(double(r) * r - dy * dy)));
        region += QRect(inset, row, w - 2 * inset, 1);
        region += QRect(inset, h - 1 - row, w - 2 * inset, 1);
    }
    return region;
}

QRegion ControlsRegion(const QWidget& form)
{
    QRegion region;
    AddControls(form, QPoint(0, 0), region);
    return region;
}

void SetRoundedWindow(QWidget& form, int corner) { Shape(form, RoundedRegion(form.size(), corner)); }

void SetTransparentWindow(QWidget& form)
{
    // An empty mask would show the whole window; a form without controls
    // keeps the shape it has.
    const QRegion controls = ControlsRegion(form);
    if (!controls.isEmpty())
        Shape(form, controls);
}

void SetOpaqueWindow(QWidget& form) { Shape(form, QRegion()); }

} // namespace tarvok::ui

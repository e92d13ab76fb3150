#pragma once
#include <QRegion>

class QWidget;

namespace tarvok::ui {

// The three shapes of a window, given as its mask: outside the shape the
// window is neither drawn nor hit, so what lies below shows and takes the
// mouse. The shape is not remembered; the last one set stands.

// A rectangle of `size` whose corners follow a quarter ellipse of
// corner x corner pixels, row by row.
QRegion RoundedRegion(const QSize& size, int corner);
// The rectangles of the form's controls, hidden ones included, with the
// controls inside its panels; a control's own inner parts are left out.
QRegion ControlsRegion(const QWidget& form);

void SetRoundedWindow(QWidget& form, int corner);
void SetTransparentWindow(QWidget& form);
void SetOpaqueWindow(QWidget& form);

} // namespace tarvok::ui

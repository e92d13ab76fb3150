#pragma once
#include <QColor>
#include <QWidget>

namespace tarvok::ui {

// A thin bar that shows the share of long work done, drawn in the colours
// of the status line it sits in.
class WorkBar : public QWidget {
public:
    WorkBar(QWidget* parent, const QColor& fill, const QColor& background);
    // 0 to 1000; repainted only when what shows changes.
    void SetPermille(int permille);
    int Permille() const { return permille_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor background_;
    int permille_ = 0;
};

} // namespace tarvok::ui

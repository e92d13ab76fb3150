#include "ui/Glyphs.h"

#include <QPainter>
#include <QPolygonF>

namespace tarvok::ui {
namespace {

const char* Name(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Tick:
        return "tick";
    case Glyph::BlueCross:
        return "bluecross";
    case Glyph::RedYellowCross:
        return "redyellowcross";
    case Glyph::CrossWithTick:
        return "crosswithtick";
    case Glyph::Pause:
        return "pause";
    case Glyph::Play:
        return "play";
    case Glyph::Stop:
        return "stop";
    case Glyph::OpenFolder:
        return "openfolder";
    case Glyph::FolderTree:
        return "foldertree";
    case Glyph::Funnel:
        return "funnel";
    case Glyph::ArrowsRight:
        return "arrowsright";
    case Glyph::ArrowsLeft:
        return "arrowsleft";
    }
    return "";
}

QString GlyphPath(Glyph glyph, const char* suffix)
{
    return QStringLiteral(":/skin/glyphs/") + QString::fromLatin1(Name(glyph)) + QString::fromLatin1(suffix);
}

} // namespace

QPixmap GlyphPixmap(Glyph glyph) { return QPixmap(GlyphPath(glyph, ".png")); }

QIcon GlyphIcon(Glyph glyph)
{
    QIcon icon(GlyphPixmap(glyph));
    const QPixmap disabled(GlyphPath(glyph, "-disabled.png"));
    if (!disabled.isNull())
        icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

QIcon ProgramIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A navy storage box ...
    p.setPen(QPen(QColor(0, 0, 80), 1.5));
    p.setBrush(QColor(0, 0, 128));
    p.drawRoundedRect(QRectF(3, 14, 26, 15), 3, 3);
    p.setBrush(QColor(0, 255, 255));
    p.drawRect(QRectF(10, 19, 12, 3));
    // ... and a lime arrow bringing a file into it.
    p.setPen(QPen(QColor(0, 90, 0), 1.2));
    p.setBrush(QColor(0, 220, 0));
    p.drawPolygon(QPolygonF({QPointF(12, 2), QPointF(20, 2), QPointF(20, 9), QPointF(25, 9), QPointF(16, 17),
                             QPointF(7, 9), QPointF(12, 9)}));
    p.end();
    return QIcon(pixmap);
}

} // namespace tarvok::ui

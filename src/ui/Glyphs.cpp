#include "ui/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tarvok::ui {
namespace {

// Draws on a 16-unit grid whatever the pixel size; greys replace colours
// for the disabled picture.
class GlyphPainter {
public:
    GlyphPainter(QPixmap& pixmap, bool disabled) : painter_(&pixmap), disabled_(disabled)
    {
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.scale(pixmap.width() / 16.0, pixmap.height() / 16.0);
    }

    QColor Colour(QColor colour) const
    {
        if (!disabled_)
            return colour;
        const int grey = 96 + qGray(colour.rgb()) / 2;
        return QColor(grey, grey, grey);
    }
    void Pen(QColor colour, double width)
    {
        painter_.setPen(QPen(Colour(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter_.setBrush(Qt::NoBrush);
    }
    void Fill(QColor fill, QColor outline)
    {
        painter_.setPen(QPen(Colour(outline), 0.8));
        painter_.setBrush(Colour(fill));
    }
    QPainter& operator*() { return painter_; }
    QPainter* operator->() { return &painter_; }

private:
    QPainter painter_;
    bool disabled_;
};

void Tick(GlyphPainter& p, QColor colour)
{
    p.Pen(colour, 2.6);
    p->drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6, 12.5), QPointF(13.5, 3.5)}));
}

void Cross(GlyphPainter& p, QColor colour, double width)
{
    p.Pen(colour, width);
    p->drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p->drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void Arrows(GlyphPainter& p, bool right)
{
    p.Fill(QColor(40, 90, 230), QColor(0, 0, 160));
    for (double x0 : {1.5, 7.5}) {
        QPolygonF head({QPointF(x0, 3), QPointF(x0 + 7, 8), QPointF(x0, 13)});
        if (!right)
            for (QPointF& point : head)
                point.setX(16 - point.x());
        p->drawPolygon(head);
    }
}

void Folder(GlyphPainter& p, double left, double top, double width, double height, bool open)
{
    p.Fill(QColor(230, 190, 40), QColor(130, 90, 0));
    p->drawRect(QRectF(left, top + 1.5, width, height - 1.5));
    p->drawRect(QRectF(left, top, width * 0.45, 1.5));
    if (open) {
        p.Fill(QColor(255, 235, 90), QColor(130, 90, 0));
        p->drawPolygon(QPolygonF({QPointF(left + 2.5, top + 4), QPointF(left + width + 1.5, top + 4),
                                  QPointF(left + width - 1, top + height), QPointF(left, top + height)}));
    }
}

void Draw(GlyphPainter& p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Tick:
        Tick(p, QColor(0, 0, 220));
        break;
    case Glyph::BlueCross:
        Cross(p, QColor(0, 0, 220), 2.6);
        break;
    case Glyph::RedYellowCross:
        Cross(p, QColor(200, 0, 0), 3.6);
        Cross(p, QColor(255, 230, 0), 1.4);
        break;
    case Glyph::CrossWithTick:
        Cross(p, QColor(200, 0, 0), 1.8);
        Tick(p, QColor(0, 150, 0));
        break;
    case Glyph::Pause:
        p.Fill(QColor(0, 0, 160), QColor(0, 0, 100));
        p->drawRect(QRectF(4, 3, 3, 10));
        p->drawRect(QRectF(9, 3, 3, 10));
        break;
    case Glyph::Play:
        p.Fill(QColor(0, 170, 0), QColor(0, 90, 0));
        p->drawPolygon(QPolygonF({QPointF(4, 2.5), QPointF(13, 8), QPointF(4, 13.5)}));
        break;
    case Glyph::Stop:
        p.Fill(QColor(210, 0, 0), QColor(110, 0, 0));
        p->drawRect(QRectF(3.5, 3.5, 9, 9));
        break;
    case Glyph::OpenFolder:
        Folder(p, 1, 3, 12, 10, true);
        break;
    case Glyph::FolderTree:
        p.Pen(QColor(60, 60, 60), 0.9);
        p->drawLine(QPointF(3.5, 7), QPointF(3.5, 13.5));
        p->drawLine(QPointF(3.5, 13.5), QPointF(8, 13.5));
        Folder(p, 1, 1, 7, 6, false);
        Folder(p, 8, 10, 7, 5.5, false);
        break;
    case Glyph::Funnel:
        p.Fill(QColor(60, 120, 230), QColor(0, 0, 140));
        p->drawPolygon(QPolygonF({QPointF(1.5, 2.5), QPointF(14.5, 2.5), QPointF(9.5, 8.5), QPointF(9.5, 14),
                                  QPointF(6.5, 12.5), QPointF(6.5, 8.5)}));
        break;
    case Glyph::ArrowsRight:
        Arrows(p, true);
        break;
    case Glyph::ArrowsLeft:
        Arrows(p, false);
        break;
    }
}

} // namespace

QPixmap DrawGlyph(Glyph glyph, int size, bool disabled)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    GlyphPainter painter(pixmap, disabled);
    Draw(painter, glyph);
    return pixmap;
}

QIcon GlyphIcon(Glyph glyph)
{
    QIcon icon(DrawGlyph(glyph));
    icon.addPixmap(DrawGlyph(glyph, 16, true), QIcon::Disabled);
    return icon;
}

} // namespace tarvok::ui

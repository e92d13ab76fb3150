#include "ui/skin/Glyphs.h"

#include <QPainter>
#include <QPolygonF>

namespace tarvok::ui {
namespace {

const char* Name(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Tick: return "tick";
    case Glyph::BlueCross: return "bluecross";
    case Glyph::RedYellowCross: return "redyellowcross";
    case Glyph::CrossWithTick: return "crosswithtick";
    case Glyph::Pause: return "pause";
    case Glyph::Play: return "play";
    case Glyph::Stop: return "stop";
    case Glyph::OpenFolder: return "openfolder";
    case Glyph::FolderTree: return "foldertree";
    case Glyph::Funnel: return "funnel";
    case Glyph::ArrowsRight: return "arrowsright";
    case Glyph::ArrowsLeft: return "arrowsleft";
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

} // namespace tarvok::ui

#pragma once
#include <QIcon>
#include <QPixmap>

namespace tarvok::ui {

// The small pictures of the main window's buttons and tool bar, drawn by
// scripts/art/skin.sh and compiled in.
enum class Glyph {
    Tick, // blue tick
    BlueCross,
    RedYellowCross,
    CrossWithTick,
    Pause,      // two bars
    Play,       // triangle pointing right
    Stop,       // square
    OpenFolder, // yellow, open
    FolderTree,
    Funnel,
    ArrowsRight, // blue double arrow
    ArrowsLeft,
};

// The 16 x 16 picture.
QPixmap GlyphPixmap(Glyph glyph);
// The picture, with its own greyed picture for the disabled state where it
// has one.
QIcon GlyphIcon(Glyph glyph);

} // namespace tarvok::ui

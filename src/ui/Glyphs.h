#pragma once
#include <QIcon>
#include <QPixmap>

namespace tarvok::ui {

// The small pictures of the main window's buttons and tool bar, drawn here
// rather than loaded, so the program carries no picture files of its own.
enum class Glyph {
    Tick,           // blue tick
    BlueCross,
    RedYellowCross,
    CrossWithTick,
    Pause,          // two bars
    Play,           // triangle pointing right
    Stop,           // square
    OpenFolder,     // yellow, open
    FolderTree,
    Funnel,
    ArrowsRight,    // blue double arrow
    ArrowsLeft,
};

// The picture at `size` x `size` pixels; `disabled` draws it in greys.
QPixmap DrawGlyph(Glyph glyph, int size = 16, bool disabled = false);
// The picture with its own greyed picture for the disabled state.
QIcon GlyphIcon(Glyph glyph);

} // namespace tarvok::ui

#pragma once
#include <QImage>
#include <QObject>
#include <QRegion>

#include <cstdint>
#include <string>

class QWidget;

namespace tarvok::ui {

// The picture that fills the frameless window: the current skin
// (`SkinBitmap`) and the window-sized picture painted from it
// (`PaintBuffer`). Every paint of the window draws the whole buffer.
//
// It also keeps the window's shape. Normally that is the window's mask (the
// X shape), outside which nothing is drawn. Compositing managers may ignore
// X shapes and show the rest of the window, so under one the window is
// translucent instead: it paints transparent pixels outside its shape and
// takes the pointer only inside it.
class SkinCanvas : public QObject {
public:
    // The built-in skin, compiled into the program.
    static constexpr const char* BuiltInSkin = ":/skin/BACKGROUND";

    // Skins outside these sizes are passed over like missing files.
    static constexpr QSize MinSkinSize{200, 150};
    static constexpr QSize MaxSkinSize{4096, 4096};

    explicit SkinCanvas(QWidget& window);

    // Loads a skin file and shows it. A missing file, a link or anything
    // else than a plain file, one that is no readable picture or one of a
    // size outside the bounds leaves the skin as it is and gives false.
    bool LoadFile(const std::string& path);
    void LoadBuiltIn();
    // Sizes the window and the buffer to the current skin. Only the first
    // skin sets the window's size; later ones are cut or padded to it.
    void FitWindowToSkin();

    // Makes the window translucent; call before its native window exists.
    void UseTranslucency();
    // The window's shape in window coordinates; an empty region is the whole
    // window.
    void SetShape(const QRegion& shape);

    const QImage& SkinBitmap() const { return skin_; }
    const QImage& PaintBuffer() const { return buffer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(QImage skin);
    // The skin from the top-left corner; where it falls short, the colour
    // of its bottom-right pixel.
    void Compose();
    void Paint();
    // The X input shape of a translucent window, in device pixels.
    void ApplyInputShape();

    QWidget& window_;
    QImage skin_;
    QImage buffer_;
    bool translucent_ = false;
    QRegion shape_; // while translucent
};

} // namespace tarvok::ui

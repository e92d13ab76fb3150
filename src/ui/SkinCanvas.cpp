#include "ui/SkinCanvas.h"

#include "ui/LocalText.h"

#include <QEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

namespace tarvok::ui {
namespace {

// The largest skin in 32-bit pixels, in megabytes.
constexpr int MaxSkinMegabytes = 4096 * 4096 * 4 / (1024 * 1024);

// A skin is a window: one too small cannot be found or used, one too big
// only takes memory (a header of a few bytes may declare any size).
bool FitsAsWindow(QSize size)
{
    return size.width() >= SkinCanvas::MinSkinSize.width() && size.height() >= SkinCanvas::MinSkinSize.height() &&
           size.width() <= SkinCanvas::MaxSkinSize.width() && size.height() <= SkinCanvas::MaxSkinSize.height();
}

// Palettised bitmaps draw several times slower than 32-bit ones: convert once.
QImage ReadSkin(const QString& path)
{
    // A pipe or a device of that name would block the reader or never end.
    if (!QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    // The size the header declares, before any pixel is read; a format that
    // cannot tell is held to the same bound by the allocation limit.
    const QSize declared = reader.size();
    if (declared.isValid() && !FitsAsWindow(declared))
        return QImage();
    reader.setAllocationLimit(MaxSkinMegabytes);
    QImage image = reader.read();
    if (image.isNull() || !FitsAsWindow(image.size()))
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

SkinCanvas::SkinCanvas(QWidget& window) : QObject(&window), window_(window)
{
    // The skin covers the whole window: nothing needs erasing first.
    window_.setAttribute(Qt::WA_OpaquePaintEvent);
    window_.setAttribute(Qt::WA_NoSystemBackground);
    window_.installEventFilter(this);
}

bool SkinCanvas::LoadFile(const std::string& path)
{
    QImage skin = ReadSkin(Local(path));
    if (skin.isNull())
        return false;
    Show(std::move(skin));
    return true;
}

void SkinCanvas::LoadBuiltIn() { Show(ReadSkin(QString::fromLatin1(BuiltInSkin))); }

void SkinCanvas::FitWindowToSkin()
{
    window_.setFixedSize(skin_.size());
    buffer_ = QImage(skin_.size(), QImage::Format_RGB32);
    Compose();
}

void SkinCanvas::Show(QImage skin)
{
    skin_ = std::move(skin);
    if (buffer_.isNull())
        return; // sized and drawn at the start
    Compose();
    window_.update();
}

void SkinCanvas::Compose()
{
    // A smaller skin leaves a band uncovered: its own corner colour carries
    // on there, so no light frame of the default window colour shows.
    buffer_.fill(skin_.isNull() ? window_.palette().color(QPalette::Window)
                                : QColor(skin_.pixel(skin_.width() - 1, skin_.height() - 1)));
    QPainter painter(&buffer_);
    painter.drawImage(0, 0, skin_);
}

bool SkinCanvas::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_ || event->type() != QEvent::Paint || buffer_.isNull())
        return false;
    QPainter painter(&window_);
    painter.drawImage(0, 0, buffer_);
    return true;
}

} // namespace tarvok::ui

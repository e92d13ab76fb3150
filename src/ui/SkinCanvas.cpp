#include "ui/SkinCanvas.h"

#include "ui/LocalText.h"

#include <QEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

namespace tarvok::ui {
namespace {

// Palettised bitmaps draw several times slower than 32-bit ones: convert once.
QImage ReadSkin(const QString& path)
{
    // A pipe or a device of that name would block the reader or never end.
    if (!QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        return image;
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
    buffer_.fill(window_.palette().color(QPalette::Window));
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

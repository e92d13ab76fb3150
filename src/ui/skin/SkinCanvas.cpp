#include "ui/skin/SkinCanvas.h"

#include "core/SkinChoice.h"
#include "platform/qt/Compositing.h"

#include <QBuffer>
#include <QEvent>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <optional>

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

// A skin file with room for the largest skin's 32-bit pixels and its headers;
// compressed formats stay far below.
constexpr uint64_t MaxSkinFileBytes = (uint64_t{MaxSkinMegabytes} + 1) << 20;

// Palettised bitmaps draw several times slower than 32-bit ones: convert once.
QImage ReadSkin(QImageReader& reader)
{
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
    const std::optional<std::string> bytes = ReadSkinFile(path, MaxSkinFileBytes);
    if (!bytes)
        return false;
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size())));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage skin = ReadSkin(reader);
    if (skin.isNull())
        return false;
    Show(std::move(skin));
    return true;
}

void SkinCanvas::LoadBuiltIn()
{
    QImageReader reader(QString::fromLatin1(BuiltInSkin));
    Show(ReadSkin(reader));
}

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

void SkinCanvas::UseTranslucency()
{
    translucent_ = true;
    window_.setAttribute(Qt::WA_TranslucentBackground);
    // Its paint leaves pixels transparent: what lies below must show there.
    window_.setAttribute(Qt::WA_OpaquePaintEvent, false);
    // The shape moves from the mask into the painting.
    shape_ = window_.mask();
    window_.clearMask();
}

void SkinCanvas::SetShape(const QRegion& shape)
{
    if (!translucent_) {
        // An empty mask would be no mask at all: say so plainly.
        if (shape.isEmpty())
            window_.clearMask();
        else
            window_.setMask(shape);
        return;
    }
    shape_ = shape;
    ApplyInputShape();
    window_.update();
}

void SkinCanvas::ApplyInputShape()
{
    const QRegion shape = shape_.isEmpty() ? QRegion(window_.rect()) : shape_;
    const qreal ratio = window_.devicePixelRatioF();
    QRegion device;
    for (const QRect& r : shape) {
        const QPoint from(int(std::floor(r.left() * ratio)), int(std::floor(r.top() * ratio)));
        const QPoint to(int(std::ceil((r.right() + 1) * ratio)), int(std::ceil((r.bottom() + 1) * ratio)));
        device += QRect(from, to - QPoint(1, 1));
    }
    platform::SetInputShape(window_.windowHandle(), device);
}

void SkinCanvas::Paint()
{
    QPainter painter(&window_);
    if (translucent_) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(window_.rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (!shape_.isEmpty())
            painter.setClipRegion(shape_);
    }
    painter.drawImage(0, 0, buffer_);
}

bool SkinCanvas::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_ || buffer_.isNull())
        return false;
    switch (event->type()) {
    case QEvent::Paint: Paint(); return true;
    case QEvent::Show:
        // The native window exists now; it may be a new one.
        if (translucent_)
            ApplyInputShape();
        return false;
    default: return false;
    }
}

} // namespace tarvok::ui

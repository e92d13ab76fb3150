#include "ui/dialogs/Aboutdlg.h"

#include "core/Shell.h"
#include "ui/widgets/Look.h"

#include <QFrame>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace tarvok::ui {
namespace {

using namespace look;

QLabel* TextLabel(QWidget* parent, const char* text, const QFont& font, const QColor& colour, int left, int top)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setFont(font);
    look::SetTextColour(label, colour);
    label->move(left, top);
    label->adjustSize();
    return label;
}

LinkLabel* Link(QWidget* parent, const char* text, int left, int top)
{
    auto* label = new LinkLabel(QString::fromLatin1(text), parent);
    label->setFont(look::Font("MS Sans Serif", 11, true, true));
    look::SetTextColour(label, Yellow);
    label->setCursor(Qt::PointingHandCursor);
    label->move(left, top);
    return label;
}

} // namespace

void LinkLabel::mousePressEvent(QMouseEvent* event) { pressed_ = event->button() == Qt::LeftButton; }

void LinkLabel::mouseDoubleClickEvent(QMouseEvent*) { pressed_ = false; }

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && OnClick)
        OnClick();
}

QImage AboutPicture()
{
    QImageReader reader(QStringLiteral(":/about/about.jpg"), "jpeg");
    return reader.read();
}

TAboutBox::TAboutBox(tarvok::Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell)
{
    setWindowTitle(QStringLiteral("About Tarvok"));
    setFont(look::Font("MS Sans Serif", 11));
    setFixedSize(411, 374);
    look::CentreOnScreen(this);

    Panel1 = Place(new QFrame(this), 0, 0, 411, 374);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    look::SetPanelColour(Panel1, Black);

    Image1 = Place(new QLabel(Panel1), 16, 40, 377, 257);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(AboutPicture()));
    Image1->setAccessibleName(QStringLiteral("Tarvok picture"));

    ProductName = TextLabel(Panel1, "Tarvok", look::Font("MS Sans Serif", 24, true), Aqua, 129, 8);
    lbVer = TextLabel(Panel1, "Version 2.5e (Eng)", look::Font("MS Sans Serif", 11), Lime, 248, 16);

    Label1 = Link(Panel1, "tarvok.example.org", 18, 309);
    Label1->resize(157, 13);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->OnClick = [this] { Label1Click(); };
    Label2 = Link(Panel1, "Write me will encourage me a lot.", 192, 309);
    Label2->adjustSize();
    Label2->OnClick = [this] { Label2Click(); };

    OkBtn = Place(new QPushButton(QStringLiteral("&OK"), Panel1), 166, 341, 80, 28);
    OkBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    OkBtn->setToolTip(QStringLiteral("OK"));
    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

// Whether a browser or a mail program answers is the desktop's business.
void TAboutBox::Label1Click() { shell_.OpenUrl(WebPage); }

void TAboutBox::Label2Click() { shell_.OpenUrl(std::string("mailto:") + MailAddress); }

} // namespace tarvok::ui

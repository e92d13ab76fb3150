#pragma once
#include <QDialog>
#include <QLabel>

#include <functional>

class QFrame;
class QPushButton;

namespace tarvok {
class Shell;
}

namespace tarvok::ui {

// A label that reacts to a single click of the left button; a double click
// counts as one click.
class LinkLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// The About window: name, version, picture, the project's web page and the
// author's mail address.
class TAboutBox : public QDialog {
public:
    TAboutBox(tarvok::Shell& shell, QWidget* parent = nullptr);

    static constexpr const char* WebPage = "https://tarvok.example.org/";
    static constexpr const char* MailAddress = "author@tarvok.example.org";

    void Label1Click();
    void Label2Click();

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* lbVer = nullptr;
    LinkLabel* Label1 = nullptr;
    LinkLabel* Label2 = nullptr;
    QPushButton* OkBtn = nullptr;

private:
    tarvok::Shell& shell_;
};

// The About picture, decoded from the JPEG data compiled into the program.
QImage AboutPicture();

} // namespace tarvok::ui

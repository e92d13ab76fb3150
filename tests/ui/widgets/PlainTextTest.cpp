// Names from other people's folders on screen: whatever markup a name holds
// is shown as the characters it is made of, and nothing it names is loaded.
#include "BackupTestWorld.h"
#include "ModalDriver.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/widgets/LocalText.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>

namespace tarvok::test {
namespace {

// The text a reader sees: what is left of markup once it is drawn.
QString Seen(const QString& text, Qt::TextFormat format)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

class PlainTextTest : public BackupTest {};

TEST_F(PlainTextTest, MarkupInANameIsShownAsItIs)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Windows names cannot hold <, > or \"";
#endif
    // No slash can be part of a name; the escaped one still reaches a file.
    const std::string name = "<img src=\"file:%2Fdev%2Fnull\"><b>bold";
    const QString literal = ui::Local(name);
    MakeSnapshot(name, {"a"});
    Form->ShowBkUpFolders(Backup);
    ASSERT_EQ(Form->Controls().lbxTarget->count(), 1);

    const struct {
        const char* where;
        std::function<QString()> show;
        QString expected;
    } rows[] = {
        {"status line",
         [&] {
             Form->lbxTargetMouseMove(Form->Controls().lbxTarget->LineRect(0).center());
             return Seen(Form->Controls().lbStatus->text(), Form->Controls().lbStatus->textFormat());
         },
         ui::Local(Backup + "/" + name)},
        {"list line", [&] { return Form->Controls().lbxTarget->Text(0); }, literal},
        {"tip",
         [&] {
             QPushButton* button = Form->Controls().btnBackUp;
             button->setToolTip(literal);
             QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
             QApplication::sendEvent(button, &help);
             return Seen(QToolTip::text(), Qt::AutoText);
         },
         literal},
        {"message box",
         [&] {
             QString shown;
             ui::QtDialogs dialogs;
             WhileModal<QMessageBox>([&] { dialogs.Message(name); },
                                     [&](QMessageBox& box) {
                                         shown = Seen(box.text(), box.textFormat());
                                         box.accept();
                                     });
             return shown;
         },
         literal},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.show().toStdString(), row.expected.toStdString()) << row.where;
    QToolTip::hideText();
}

TEST_F(PlainTextTest, ALongHintStaysOnOneLine)
{
    QPushButton* button = Form->Controls().btnBackUp;
    button->setToolTip(QStringLiteral("Backup folder of the project: /home/user/Documents/Backups of the year/"
                                      "Projects kept on the second drive"));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &help);
    const QWidget* tip = nullptr;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("qtooltip_label") && widget->isVisible())
            tip = widget;
    ASSERT_NE(tip, nullptr);
    EXPECT_LT(tip->height(), 2 * QFontMetrics(tip->font()).lineSpacing());
    QToolTip::hideText();
}

} // namespace
} // namespace tarvok::test

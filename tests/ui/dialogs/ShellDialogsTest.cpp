#include "ui/dialogs/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace tarvok::test {
namespace {

// Runs `act` on the message box once it is open. A watchdog closes any box
// still open after a while, so a failing test fails instead of hanging.
class WhenBoxOpens {
public:
    explicit WhenBoxOpens(std::function<void(QMessageBox*)> act) : act_(std::move(act))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll_.stop();
                act_(box);
            }
        });
        poll_.start(10);
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        watchdog_.start(10000);
    }

private:
    std::function<void(QMessageBox*)> act_;
    QTimer poll_;
    QTimer watchdog_;
};

struct Seen {
    QString Title, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Default = QMessageBox::NoButton;
};

// Records what the box shows, then answers with `press`.
std::function<void(QMessageBox*)> RecordAndPress(Seen& seen, QMessageBox::StandardButton press)
{
    return [&seen, press](QMessageBox* box) {
        seen.Title = box->windowTitle();
        seen.Text = box->text();
        seen.Icon = box->icon();
        seen.Buttons = box->standardButtons();
        seen.Default = box->standardButton(box->defaultButton());
        box->button(press)->click();
    };
}

TEST(ShellDialogsTest, PlainMessageHasTheApplicationTitleNoIconAndOk)
{
    ui::QtDialogs dialogs;
    Seen seen;
    WhenBoxOpens answer(RecordAndPress(seen, QMessageBox::Ok));
    dialogs.Message("BackUP Success.");
    EXPECT_EQ(seen.Title, QApplication::applicationName());
    EXPECT_EQ(seen.Text, "BackUP Success.");
    EXPECT_EQ(seen.Icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.Buttons, QMessageBox::Ok);
}

TEST(ShellDialogsTest, ConfirmationsGoOnUnlessNoAndEnterTakesTheirDefault)
{
    ui::QtDialogs dialogs;
    using Ask = bool (ui::QtDialogs::*)(const std::string&);
    const struct {
        Ask ask;
        QMessageBox::StandardButton byDefault;
    } rows[] = {{&ui::QtDialogs::Confirm, QMessageBox::Yes}, {&ui::QtDialogs::ConfirmDefaultNo, QMessageBox::No}};
    for (const auto& row : rows) {
        Seen seen;
        {
            WhenBoxOpens answer(RecordAndPress(seen, QMessageBox::Yes));
            EXPECT_TRUE((dialogs.*row.ask)("Are you sure to exit this program?"));
        }
        EXPECT_EQ(seen.Title, "Confirm");
        EXPECT_EQ(seen.Icon, QMessageBox::Question);
        EXPECT_EQ(seen.Buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.Default, row.byDefault);
        {
            WhenBoxOpens answer(RecordAndPress(seen, QMessageBox::No));
            EXPECT_FALSE((dialogs.*row.ask)("again?"));
        }
        {
            WhenBoxOpens answer([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
            EXPECT_FALSE((dialogs.*row.ask)("escape?"));
        }
        {
            WhenBoxOpens answer([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
            EXPECT_EQ((dialogs.*row.ask)("enter?"), row.byDefault == QMessageBox::Yes);
        }
    }
}

TEST(ShellDialogsTest, WarningAndErrorBoxCarryTheirIcons)
{
    ui::QtDialogs dialogs;
    Seen seen;
    {
        WhenBoxOpens answer(RecordAndPress(seen, QMessageBox::Ok));
        dialogs.Warning("Please select Source Files first");
    }
    EXPECT_EQ(seen.Title, "Warning");
    EXPECT_EQ(seen.Icon, QMessageBox::Warning);
    EXPECT_EQ(seen.Buttons, QMessageBox::Ok);
    {
        WhenBoxOpens answer(RecordAndPress(seen, QMessageBox::Ok));
        dialogs.ErrorBox("Disk full.");
    }
    EXPECT_EQ(seen.Title, QApplication::applicationName());
    EXPECT_EQ(seen.Text, "Disk full.");
    EXPECT_EQ(seen.Icon, QMessageBox::Critical);
    EXPECT_EQ(seen.Buttons, QMessageBox::Ok);
}

} // namespace
} // namespace tarvok::test

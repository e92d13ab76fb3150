#include "MainTestWorld.h"
#include "ModalDriver.h"
#include "ui/dialogs/Aboutdlg.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tarvok::test {
namespace {

TEST(AboutBoxTest, ThePictureIsAColourJpegCompiledIntoTheProgram)
{
    const QImage picture = ui::AboutPicture();
    ASSERT_FALSE(picture.isNull()) << "the JPEG reader is missing or the picture is not compiled in";
    EXPECT_EQ(picture.size(), QSize(600, 362));
    EXPECT_FALSE(picture.isGrayscale());
}

TEST(AboutBoxTest, EveryOpeningShowsTheVersionAndALinkClickOpensItOnce)
{
    MainWorld world;
    ui::TMainForm& form = world.Create();
    for (int opening = 1; opening <= 2; ++opening) {
        WhileModal<ui::TAboutBox>([&] { form.About1Click(); },
                                  [&](ui::TAboutBox& box) {
                                      EXPECT_EQ(box.windowTitle(), "About Tarvok");
                                      EXPECT_EQ(box.lbVer->text(), "Ver: 1.0a") << "opening " << opening;
                                      EXPECT_FALSE(box.Image1->pixmap().isNull());
                                      EXPECT_TRUE(box.OkBtn->isDefault());
                                      box.OkBtn->click();
                                  });
    }

    WhileModal<ui::TAboutBox>([&] { form.Controls().cmAbout->trigger(); },
                              [&](ui::TAboutBox& box) {
                                  QTest::mouseClick(box.Label1, Qt::LeftButton);
                                  // A double click: the second press arrives as the double click.
                                  QTest::mouseClick(box.Label2, Qt::LeftButton);
                                  QTest::mouseDClick(box.Label2, Qt::LeftButton);
                                  QTest::mouseRelease(box.Label2, Qt::LeftButton);
                                  // A press that leaves the label before its release is no click.
                                  QTest::mousePress(box.Label1, Qt::LeftButton);
                                  QTest::mouseRelease(box.Label1, Qt::LeftButton, {}, QPoint(-5, -5));
                                  EXPECT_TRUE(box.isVisible()) << "the window stays open";
                                  box.OkBtn->click();
                              });
    EXPECT_EQ(world.Shell.OpenedUrls,
              (std::vector<std::string>{"https://tarvok.example.org/", "mailto:author@tarvok.example.org"}));
    EXPECT_TRUE(world.Shell.Opened.empty());
}

TEST(AboutBoxTest, TheMainMenuOpensIt)
{
    MainWorld world;
    ui::TMainForm& form = world.Create();
    WhileModal<ui::TAboutBox>([&] { form.Controls().About1->trigger(); },
                              [&](ui::TAboutBox& box) { box.OkBtn->click(); });
}

} // namespace
} // namespace tarvok::test

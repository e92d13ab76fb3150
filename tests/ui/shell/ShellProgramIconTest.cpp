#include "ui/shell/ProgramIcon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

using namespace tarvok;

// The pictures are compiled in; a lost resource or image reader would leave
// the window and the notification area without an icon.
TEST(ShellProgramIcon, WindowAndTrayPicturesAreCompiledInAt32Pixels)
{
    for (const QIcon& icon : {ui::ProgramIcon(), ui::TrayIconImage()}) {
        ASSERT_FALSE(icon.isNull());
        const QImage image = icon.pixmap(32, 32).toImage();
        EXPECT_EQ(image.size(), QSize(32, 32));
        EXPECT_EQ(image.pixelColor(0, 31).alpha(), 0) << "the corner is transparent";
        EXPECT_EQ(image.pixelColor(15, 2), QColor(0, 255, 0)) << "the green arrow";
    }
}

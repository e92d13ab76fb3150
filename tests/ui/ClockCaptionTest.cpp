#include "ui/ClockCaption.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::ui::ClockCaption;
using tarvok::ui::LongTimeFormatWithoutZone;

namespace {

const LocalTime ThursdayTen{2024, 3, 7, 10, 0, 0, 250, 4};
const LocalTime SaturdayMidnight{2024, 3, 9, 0, 0, 0, 0, 6};

} // namespace

TEST(ClockCaption, ShortDateLongTimeAndWeekday)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QString line = ClockCaption(us, ThursdayTen);
    EXPECT_TRUE(line.startsWith(QStringLiteral("3/7/24 10:00:00"))) << line.toStdString();
    EXPECT_TRUE(line.endsWith(QStringLiteral("AM  --  Thirsday"))) << line.toStdString();

    EXPECT_EQ(ClockCaption(QLocale(QLocale::German, QLocale::Germany), ThursdayTen),
              QStringLiteral("07.03.24 10:00:00  --  Thirsday"));
}

TEST(ClockCaption, MidnightShowsTheDateAlone)
{
    EXPECT_EQ(ClockCaption(QLocale(QLocale::German, QLocale::Germany), SaturdayMidnight),
              QStringLiteral("09.03.24  --  Saturday"));
}

TEST(ClockCaption, TimeZoneIsLeftOutInEveryWayLocalesWriteIt)
{
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::Chinese, QLocale::Taiwan), QLocale(QLocale::German)}) {
        const QString format = LongTimeFormatWithoutZone(locale);
        EXPECT_FALSE(format.contains(u't')) << format.toStdString();
        EXPECT_FALSE(format.contains(u'[')) << format.toStdString();
        EXPECT_TRUE(format.contains(QStringLiteral("ss"))) << format.toStdString();
        EXPECT_EQ(format, format.trimmed());
    }
}

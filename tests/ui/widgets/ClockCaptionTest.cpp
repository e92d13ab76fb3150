#include "ui/widgets/ClockCaption.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>

using namespace tarvok;
using tarvok::ui::ClockCaption;
using tarvok::ui::ClockTimeFormat;

namespace {

const LocalTime ThursdayTen{2024, 3, 7, 10, 0, 0, 250, 4};
const LocalTime SaturdayMidnight{2024, 3, 9, 0, 0, 0, 0, 6};
const LocalTime ThursdayEvening{2024, 3, 7, 21, 5, 7, 0, 4};

// The texts a format writes as they are: its quoted parts.
QStringList QuotedParts(const QString& format)
{
    QStringList parts;
    const QRegularExpression quoted(QStringLiteral("'([^']+)'"));
    for (auto match = quoted.globalMatch(format); match.hasNext();)
        parts << match.next().captured(1);
    return parts;
}

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
        const QString format = ClockTimeFormat(locale);
        EXPECT_FALSE(format.contains(u't')) << format.toStdString();
        EXPECT_FALSE(format.contains(u'[')) << format.toStdString();
        EXPECT_TRUE(format.contains(QStringLiteral("ss"))) << format.toStdString();
        EXPECT_EQ(format, format.trimmed());
    }
}

// Of the letters in a clock line, only words belong there: AM and PM, the
// month's name, the format's quoted words. A format letter Qt does not fill
// in would be printed as itself.
TEST(ClockCaption, NoLocaleLeavesAFormatLetterInTheLine)
{
    const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    const QString weekday = QStringLiteral("  --  Thirsday");
    for (const QLocale& locale : locales) {
        QString line = ClockCaption(locale, ThursdayEvening);
        ASSERT_TRUE(line.endsWith(weekday)) << line.toStdString();
        line.chop(weekday.size());
        QStringList words =
            QuotedParts(locale.timeFormat(QLocale::LongFormat)) + QuotedParts(locale.dateFormat(QLocale::ShortFormat));
        words << locale.amText() << locale.pmText() << locale.monthName(3, QLocale::ShortFormat);
        // Longer words first: a short one may be part of a longer one.
        std::sort(words.begin(), words.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
        for (const QString& word : words)
            if (!word.isEmpty())
                line.remove(word, Qt::CaseInsensitive);
        EXPECT_FALSE(line.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
            << locale.name().toStdString() << ": " << line.toStdString();
        EXPECT_FALSE(line.trimmed().endsWith(u',')) << locale.name().toStdString() << ": " << line.toStdString();
    }
}

TEST(ClockCaption, TraditionalChineseShowsTheTwentyFourHourTime)
{
    EXPECT_EQ(
        ClockCaption(QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan), ThursdayEvening),
        QStringLiteral("2024/3/7 21:05:07  --  Thirsday"));
}

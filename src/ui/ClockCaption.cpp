#include "ui/ClockCaption.h"

#include "core/Schedule.h"
#include "ui/LocalText.h"

#include <QDate>
#include <QTime>

namespace tarvok::ui {

QString LongTimeFormatWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            kept += c;
    }
    // A zone some locales put in brackets leaves the brackets behind.
    kept.replace(QStringLiteral("[]"), QString());
    kept.replace(QStringLiteral("()"), QString());
    return kept.simplified();
}

QString ClockCaption(const QLocale& locale, const LocalTime& now)
{
    const QString date = locale.toString(QDate(now.Year, now.Month, now.Day), QLocale::ShortFormat);
    const QString time =
        locale.toString(QTime(now.Hour, now.Minute, now.Second, now.Millisecond), LongTimeFormatWithoutZone(locale));
    return Local(ClockLine(FromLocal(date), FromLocal(time), now));
}

} // namespace tarvok::ui

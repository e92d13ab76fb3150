#include "ui/widgets/ClockCaption.h"

#include "core/Schedule.h"
#include "ui/widgets/LocalText.h"

#include <QDate>
#include <QTime>

namespace tarvok::ui {

QString ClockTimeFormat(const QLocale& locale)
{
    // The time fields Qt fills in, the zone "t" left out.
    static const QString printed = QStringLiteral("hHmszaApP");
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        const bool field = !quoted && c.unicode() < 128 && c.isLetter();
        if (!field || printed.contains(c))
            kept += c;
    }
    // A zone some locales put in brackets leaves the brackets behind, and
    // one set off by a comma the comma.
    kept.replace(QStringLiteral("[]"), QString());
    kept.replace(QStringLiteral("()"), QString());
    kept = kept.simplified();
    while (kept.endsWith(u',') || kept.endsWith(u' '))
        kept.chop(1);
    return kept;
}

QString ClockCaption(const QLocale& locale, const LocalTime& now)
{
    const QString date = locale.toString(QDate(now.Year, now.Month, now.Day), QLocale::ShortFormat);
    const QString time =
        locale.toString(QTime(now.Hour, now.Minute, now.Second, now.Millisecond), ClockTimeFormat(locale));
    return Local(ClockLine(FromLocal(date), FromLocal(time), now));
}

} // namespace tarvok::ui

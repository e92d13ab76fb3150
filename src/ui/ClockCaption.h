#pragma once
#include "core/Clock.h"

#include <QLocale>
#include <QString>

namespace tarvok::ui {

// The locale's long time format without its time zone, which the clock line
// never showed: "h:mm:ss AP t" becomes "h:mm:ss AP".
QString LongTimeFormatWithoutZone(const QLocale& locale);

// The clock line for `now`: the locale's short date and long time, then the
// weekday name.
QString ClockCaption(const QLocale& locale, const LocalTime& now);

} // namespace tarvok::ui

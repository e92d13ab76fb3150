#pragma once
#include "base/Clock.h"

#include <QLocale>
#include <QString>

namespace tarvok::ui {

// The locale's long time format as the clock line shows it: without its time
// zone, which the line never showed ("h:mm:ss AP, t" becomes "h:mm:ss AP"),
// and without fields Qt does not print, which would come out as the bare
// letter (the day period of "Bh:mm:ss" in Traditional Chinese).
QString ClockTimeFormat(const QLocale& locale);

// The clock line for `now`: the locale's short date and long time, then the
// weekday name.
QString ClockCaption(const QLocale& locale, const LocalTime& now);

} // namespace tarvok::ui

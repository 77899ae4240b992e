#include "editing/datetimetext.h"

QString DateTimeText(const QDateTime& moment, const QLocale& locale) {
    const QTime time(moment.time().hour(), moment.time().minute(), moment.time().second());
    QString text = locale.toString(moment.date(), QLocale::ShortFormat);
    if (time != QTime(0, 0)) text += QLatin1Char(' ') + locale.toString(time, QLocale::LongFormat);
    return text;
}

#include "platform/localeformat.h"

#include <QLocale>

namespace platform {

QString shortDateText(const QDate& date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

QString longTimeText(const QTime& time) {
    // Qt's long time format carries the time zone ("t"); the clock and the log show the time only.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

}  // namespace platform

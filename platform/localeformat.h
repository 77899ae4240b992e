#pragma once
// Dates and times in the user's formats, as the system's settings write them.

#include <QDate>
#include <QString>
#include <QTime>

namespace platform {

QString shortDateText(const QDate& date);  // the short date format
QString longTimeText(const QTime& time);   // hours, minutes and seconds in the long time format

}  // namespace platform

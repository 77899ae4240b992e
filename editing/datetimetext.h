#pragma once
// The text the insert-date-and-time command adds.

#include <QDateTime>
#include <QLocale>
#include <QString>

// The date in the locale's short format, a blank and the time in its long format, to the second;
// at exactly midnight the date alone.
QString DateTimeText(const QDateTime& moment, const QLocale& locale = QLocale::system());

#include "platform/printer/printersetup.h"

#include <QLocale>

namespace platform {

MeasureUnits localeMeasureUnits() {
    return QLocale::system().measurementSystem() == QLocale::MetricSystem ? MeasureUnits::HundredthsOfMillimetre
                                                                           : MeasureUnits::ThousandthsOfInch;
}

}  // namespace platform

#include "platform/widgets/spinfields.h"

#include "platform/shell.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <limits>

namespace platform {

IntSpinField::IntSpinField(int minimum, int maximum, int step, QWidget* parent)
    : QSpinBox(parent), low_(minimum), high_(maximum) {
    if (minimum == maximum) setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    else setRange(minimum, maximum);
    setSingleStep(step);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void IntSpinField::setFieldValue(int value) { setValue(value); }

QValidator::State IntSpinField::validate(QString& text, int&) const {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok) return QValidator::Intermediate;  // fixed up to the minimum when the field is left
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void IntSpinField::fixup(QString& text) const { text = QString::number(valueFromText(text)); }

int IntSpinField::valueFromText(const QString& text) const {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok) return low_ == high_ ? 0 : low_;
    return int(std::clamp<qlonglong>(v, minimum(), maximum()));
}

DecimalSpinField::DecimalSpinField(double step, QWidget* parent) : QAbstractSpinBox(parent), step_(step) {
    setValue(0);
}

QString DecimalSpinField::format(double value) {
    QString text = QString::number(value, 'g', 15);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

double DecimalSpinField::value() const {
    bool ok = false;
    const double v = QLocale().toDouble(text().trimmed(), &ok);
    return ok ? v : 0.0;
}

void DecimalSpinField::setValue(double value) { lineEdit()->setText(format(value)); }

void DecimalSpinField::stepBy(int steps) { setValue(value() + steps * step_); }

void DecimalSpinField::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool character = !typed.isEmpty() && typed[0].isPrint();
    if (character) {
        const QChar c = typed[0];
        const bool allowed = c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
                             QString(c) == QLocale().decimalPoint();
        if (!allowed) {
            beep();
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

}  // namespace platform

#pragma once
// The two number fields of the dialogs: a whole-number field with a range and a decimal field shown
// with up to 15 significant digits in the locale's notation. Both step with their arrows and with
// the Up and Down keys.

#include <QAbstractSpinBox>
#include <QSpinBox>

namespace platform {

// A whole number in [minimum, maximum]; minimum == maximum means no range. A value set from code is
// pulled into the range; typed text is pulled to the nearer bound when the field loses the focus,
// and text that is not a whole number reads as the minimum.
class IntSpinField : public QSpinBox {
    Q_OBJECT
public:
    IntSpinField(int minimum, int maximum, int step, QWidget* parent = nullptr);
    void setFieldValue(int value);  // pulled into the range

protected:
    QValidator::State validate(QString& text, int& position) const override;
    void fixup(QString& text) const override;
    int valueFromText(const QString& text) const override;

private:
    int low_;
    int high_;
};

// A decimal number without limits: the text read with the locale's decimal separator, 0 when it is
// not a number. Only digits, "+", "-", the decimal separator and control keys can be typed; other
// keys beep.
class DecimalSpinField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit DecimalSpinField(double step, QWidget* parent = nullptr);
    double value() const;
    // Shown in the shortest general form with up to 15 significant digits (44 / 30: 1,46666666666667).
    void setValue(double value);
    void stepBy(int steps) override;
    static QString format(double value);
    using QAbstractSpinBox::lineEdit;  // the text the user types

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
    void keyPressEvent(QKeyEvent* event) override;

private:
    double step_;
};

}  // namespace platform

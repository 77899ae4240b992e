#pragma once
// The splash window `logo` (class Tlogo): the logo, the registered owner and organisation; it hides
// itself 2500 ms after it was created.

#include <QWidget>

class QLabel;
class QTimer;

class Tlogo : public QWidget {
    Q_OBJECT
public:
    explicit Tlogo(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QTimer* Timer1 = nullptr;

    void FormCreate();
    void Timer1Timer();
};

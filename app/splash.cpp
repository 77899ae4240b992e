#include "app/splash.h"
#include "app/resources.h"

#include "platform/shell.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top, bool underline) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(12);
    font.setBold(true);
    font.setUnderline(underline);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

}  // namespace

Tlogo::Tlogo(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    InitQuillexResources();
    setObjectName(QStringLiteral("logo"));
    setFixedSize(315, 282);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(166, 202, 240));
    setPalette(pal);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 315, 177);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap(QStringLiteral(":/quillex/logo.png")));
    Label1 = makeLabel(this, "Label1", QStringLiteral("Oprávněný uživatel:"), 16, 184, true);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Label2"), 136, 184, false);
    Label3 = makeLabel(this, "Label3", QStringLiteral("Společnost:"), 16, 208, true);
    Label4 = makeLabel(this, "Label4", QStringLiteral("Label4"), 88, 208, false);

    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setInterval(2500);
    connect(Timer1, &QTimer::timeout, this, &Tlogo::Timer1Timer);
    Timer1->start();
    FormCreate();
}

void Tlogo::FormCreate() {
    // The owner and organisation are the desktop's registration values; here the account's
    // full name and no organisation.
    Label2->setText(platform::registeredOwner());
    Label2->adjustSize();
    Label4->setText(platform::registeredOrganization());
    Label4->adjustSize();
    // The captions are measured in the font the desktop substitutes; keep the values clear of them.
    Label2->move(std::max(136, Label1->geometry().right() + 6), 184);
    Label4->move(std::max(88, Label3->geometry().right() + 6), 208);
}

void Tlogo::Timer1Timer() { hide(); }

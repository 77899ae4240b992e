#include "app/uibuilders.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

QString ShortHint(const QString& hint) { return hint.section(QLatin1Char('|'), 0, 0); }

QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption, const QString& hint, const QIcon& icon,
                     std::function<void()> handler) {
    QAction* action = menu->addAction(icon, caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setToolTip(ShortHint(hint));
    if (handler) QObject::connect(action, &QAction::triggered, menu, [h = std::move(handler)] { h(); });
    return action;
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setStatusTip(hint);
    widget->setToolTip(ShortHint(hint));
}

QToolButton* AddToolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon,
                           std::function<void()> handler) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setAutoRaise(true);
    SetHint(button, hint);
    if (handler) QObject::connect(button, &QToolButton::clicked, bar, [h = std::move(handler)] { h(); });
    bar->addWidget(button);
    return button;
}

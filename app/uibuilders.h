#pragma once
// Small builders for the main window's menus and toolbars: every item gets its object name, its
// hint ("short|long": the long part goes to the status bar, the short part is the tooltip) and,
// when it has one, its handler.

#include <QIcon>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;

// The part of a hint before "|" (the whole hint when it has none).
QString ShortHint(const QString& hint);
// The part after the first "|" (the whole hint when it has none).
QString LongHint(const QString& hint);

QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                     const QIcon& icon = {}, std::function<void()> handler = {});
QToolButton* AddToolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon,
                           std::function<void()> handler = {});
void SetHint(QWidget* widget, const QString& hint);

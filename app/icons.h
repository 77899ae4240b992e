#pragma once
// Toolbar and menu pictures: the desktop's icon theme by standard icon names, with a drawn picture
// for names the theme lacks, so that every button shows something.

#include <QIcon>
#include <QString>

// `name` is a freedesktop icon name; `glyph` is drawn on a plain face when the theme has no such icon.
QIcon ThemeIcon(const QString& name, const QString& glyph);

#pragma once
// Which link texts from a document may be handed to the desktop's default handler.

#include <QString>
#include <QUrl>

#include <optional>

// The address to open for a clicked link: http, https and ftp addresses ("www." taken as http),
// mailto addresses, and file links to existing regular files that are not executable. Anything else
// gives nullopt: handing arbitrary text from a document to the desktop launcher could start programs.
std::optional<QUrl> SafeLinkTarget(const QString& linkText);

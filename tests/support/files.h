#pragma once
// Small file helpers for tests that work with real files.

#include <QByteArray>
#include <QString>

namespace qxtest {

// Writes `bytes` to `path` (replacing it) and returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);

}  // namespace qxtest

#pragma once
// Reading printed PDF files with poppler's tools, as a user would look at the pages.

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace pdfcheck {

inline QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The number of pages; -1 when the file is not a readable PDF.
inline int pageCount(const QString& path) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Size of the first page in points.
inline QSizeF pageSize(const QString& path) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+)"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

inline QString title(const QString& path) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Title:\\s+(.*)$"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

// The text of page `page` (1-based) below `top` points, whitespace-simplified. The PDF printer's
// printable area begins 12 points down; text extraction ignores clipping, and the engine draws the
// line above a page's first line too, clipped away, so the text is read from the printable area only.
inline QString pageText(const QString& path, int page, int top = 12) {
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-x"), QStringLiteral("0"), QStringLiteral("-y"),
                QString::number(top), QStringLiteral("-W"), QStringLiteral("5000"), QStringLiteral("-H"),
                QStringLiteral("5000"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")})
        .simplified();
}

// The first word of every page.
inline QStringList pageStarts(const QString& path) {
    QStringList starts;
    const int pages = pageCount(path);
    for (int page = 1; page <= pages; ++page) starts << pageText(path, page).section(QLatin1Char(' '), 0, 0);
    return starts;
}

}  // namespace pdfcheck

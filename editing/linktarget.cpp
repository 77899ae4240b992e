#include "editing/linktarget.h"

#include <QFileInfo>

std::optional<QUrl> SafeLinkTarget(const QString& linkText) {
    const QString text = linkText.trimmed();
    if (text.isEmpty()) return std::nullopt;
    QUrl url = text.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
                   ? QUrl(QStringLiteral("http://") + text, QUrl::StrictMode)
                   : QUrl(text, QUrl::StrictMode);
    if (!url.isValid()) return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
        return url.host().isEmpty() ? std::nullopt : std::optional<QUrl>(url);
    if (scheme == QLatin1String("mailto")) return url.path().isEmpty() ? std::nullopt : std::optional<QUrl>(url);
    if (scheme == QLatin1String("file")) {
        const QFileInfo file(url.toLocalFile());
        if (file.isFile() && !file.isExecutable() && !file.isSymLink()) return url;
        // A link to a file that a symbolic link points at: judge the file itself.
        if (file.isSymLink()) {
            const QFileInfo target(file.symLinkTarget());
            if (target.isFile() && !target.isExecutable()) return url;
        }
    }
    return std::nullopt;
}

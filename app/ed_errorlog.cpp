// The unexpected-error path: one line per error appended to error.log, and a message to the user.
#include "app/ed.h"

#include "platform/dialogs/dialogs.h"
#include "platform/errors.h"
#include "platform/localeformat.h"

#include <QDateTime>
#include <QFile>

namespace {

const QString kSupportAddress = QStringLiteral("podpora@quillex.cz");

QString logTimestamp(const QDateTime& now) {
    // The time and its blank are left out at exactly midnight.
    QString text = platform::shortDateText(now.date());
    if (now.time() != QTime(0, 0)) text += QLatin1Char(' ') + platform::longTimeText(now.time());
    return text;
}

}  // namespace

void TMainform::LogUnexpectedError(QObject* /*sender*/, const platform::Error& error) {
    QFile log(ProgramDir + QStringLiteral("error.log"));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QString line = QStringLiteral("%1 : %2 - %3\r\n")
                                 .arg(logTimestamp(QDateTime::currentDateTime()), error.kind(), error.message());
        log.write(line.toUtf8());
        log.close();
    }
    platform::dialogs().message(this, QStringLiteral("Pozor, v programu došlo k nečekané chybě.\r\n"
                                                     "Informace o chybě najdete v souboru Error.log .\r\n"
                                                     "Pokud se toto chybové hlášení zobrazí vícekrát,\r\n"
                                                     "prosím pošlete mi tento soubor na tuto adresu\r\n") +
                                          kSupportAddress);
}

#pragma once
// The other programs' conversion of a file, timed in the same run as ours: AbiWord and LibreOffice,
// each only when installed.

#include "bench/timing.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace bench {

// Median time of an external converter; negative when it failed or timed out (its output is shown).
inline double timeExternal(const QString& program, const QStringList& arguments, int runs) {
    QByteArray failure;
    const double ms = medianMs(runs, [&] {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        if (!process.waitForFinished(900000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            failure = process.readAll().left(300);
    });
    if (failure.isNull()) return ms;
    std::printf("  %s failed: %s\n", qPrintable(program), failure.constData());
    return -1;
}

struct ExternalTimes {
    double abiword = -1;      // RTF to text
    double libreoffice = -1;  // RTF to text, with its start-up
};

// Both programs' RTF-to-text conversion of `rtfPath`, writing into `outDir`.
inline ExternalTimes convertToTextElsewhere(const QString& rtfPath, const QString& outDir, int runs) {
    ExternalTimes times;
    const QString abiword = QStandardPaths::findExecutable(QStringLiteral("abiword"));
    if (!abiword.isEmpty())
        times.abiword = timeExternal(
            abiword, {QStringLiteral("--to=txt"), QStringLiteral("--to-name=%1/abi.txt").arg(outDir), rtfPath}, runs);
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!soffice.isEmpty())
        times.libreoffice = timeExternal(soffice,
                                         {QStringLiteral("-env:UserInstallation=file://%1/lo-profile").arg(outDir),
                                          QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                          QStringLiteral("txt:Text"), QStringLiteral("--outdir"), outDir, rtfPath},
                                         runs);
    return times;
}

}  // namespace bench

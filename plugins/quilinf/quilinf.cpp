// The program information box: version, licence and the Qt it runs on.
#include "quillex_plugin.h"

#include <QMessageBox>
#include <QString>
#include <QtGlobal>

QX_PLUGIN_EXPORT void Info() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("O programu"),
                    QStringLiteral("Quillex – textový editor\nVerze 1.0.0\n\n"
                                   "Licence: GNU General Public License, verze 3 nebo novější.\n"
                                   "Program je šířen bez jakékoli záruky.\n\nQt %1")
                        .arg(QString::fromLatin1(qVersion())),
                    QMessageBox::Ok);
    box.exec();
}

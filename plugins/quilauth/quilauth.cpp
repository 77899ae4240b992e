// The author box: who made the program it is called for.
#include "quillex_plugin.h"

#include <QMessageBox>
#include <QString>

QX_PLUGIN_EXPORT void Autor(const char* programName) {
    const QString program = QString::fromUtf8(programName ? programName : "");
    QMessageBox box(QMessageBox::Information, QStringLiteral("O autorovi"),
                    QStringLiteral("%1\n\nAutor: tým Quillex\nKontakt: podpora@quillex.cz\n\n"
                                   "Děkujeme, že používáte program %1.")
                        .arg(program),
                    QMessageBox::Ok);
    box.exec();  // the program releases the library as soon as this returns
}

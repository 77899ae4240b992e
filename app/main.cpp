// The entry point: splash, application title, main window, event loop.
#include "app/ed.h"
#include "app/splash.h"

#include "platform/application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTranslator>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);  // the embedded browser needs it before the app
    platform::Application app(argc, argv);

    // The platform dialogs follow the user's language; the program's own texts are Czech whatever it is.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    // 1. The splash paints before anything else happens.
    Tlogo logo;
    logo.show();
    QCoreApplication::processEvents();
    QThread::msleep(200);

    // 2.
    QApplication::setApplicationName(QStringLiteral("Quillex"));

    // 3.
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    TMainform form;
    app.guarded(&form, [&] { form.FormCreate(arguments); });
    form.show();
    logo.raise();
    return app.exec();
}

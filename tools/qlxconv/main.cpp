// qlxconv IN OUT: reads IN as the program opens a rich-text document (".txt" names as plain text,
// everything else as RTF, read again as plain text when it is not RTF) and writes OUT by its
// extension (".txt" plain text, every other name RTF). Exit code 0 on success, 1 when the
// conversion fails, 2 on a wrong command line; the reason goes to stderr.
#include "documents/QxRichEditStrings.h"
#include "editing/QxRichEdit.h"
#include "platform/errors.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

namespace {

int fail(const QString& message, int code) {
    QTextStream(stderr) << "qlxconv: " << message << Qt::endl;
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    // The engine is a widget; without a display it runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) return fail(QStringLiteral("usage: qlxconv IN OUT"), 2);
    const QString input = arguments.at(1);
    const QString output = arguments.at(2);

    TQxRichEdit editor;  // reading and writing lay nothing out
    editor.SetLines(std::make_unique<TQxRichEditStrings>(editor));
    try {
        editor.Lines()->LoadFile(input);
        editor.Lines()->SaveFile(output);
    } catch (const platform::Error& error) {
        return fail(error.kind() + QStringLiteral(": ") + error.message(), 1);
    }
    return 0;
}

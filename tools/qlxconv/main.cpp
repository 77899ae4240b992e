// qlxconv IN OUT: reads IN as the program opens a rich-text document (".txt" names as plain text,
// everything else as RTF, read again as plain text when it is not RTF) and writes OUT by its
// extension (".txt" plain text, ".pdf" the pages as the print preview prints them on the built-in
// PDF printer, every other name RTF). Exit code 0 on success, 1 when the conversion fails, 2 on a
// wrong command line; the reason goes to stderr.
#include "documents/QxRichEditStrings.h"
#include "editing/QxRichEdit.h"
#include "platform/errors.h"
#include "platform/printer/printer.h"
#include "printing/MainFrm.h"
#include "printing/QxPrvwDoc.h"
#include "printing/QxPrvwRender.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

namespace {

int fail(const QString& message, int code) {
    QTextStream(stderr) << "qlxconv: " << message << Qt::endl;
    return code;
}

// Paginates the document as the print-preview window does and prints every page to `output` on the
// PDF printer.
void printToPdf(TQxRichEdit& editor, const QString& output) {
    platform::Printer& printer = platform::printer();
    printer.InstallPrinterList(QStringList(), true);  // the PDF printer alone, whatever the system has
    printer.SetPdfOutputFile(output);
    TfrmMain preview(&editor, nullptr);
    preview.FormCreate();
    if (preview.pd->PageCount() == 0) throw platform::EPrinter(QStringLiteral("The document has no pages to print"));
    TQxPreviewPrinter previewPrinter;
    previewPrinter.SetPrinter(&printer);
    previewPrinter.SetPrintPreview(preview.pd);
    previewPrinter.SetCopies(1);
    previewPrinter.Print();
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
        if (output.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            printToPdf(editor, output);
        else
            editor.Lines()->SaveFile(output);
    } catch (const platform::Error& error) {
        return fail(error.kind() + QStringLiteral(": ") + error.message(), 1);
    }
    return 0;
}

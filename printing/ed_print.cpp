// The main window's print commands: print at once, print through the dialog, page setup and the
// print preview.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/application.h"
#include "platform/dialogs/dialogs.h"
#include "platform/printer/printer.h"
#include "printing/MainFrm.h"

bool TMainform::CheckPrinterInstalled() {
    if (!platform::printer().Printers().isEmpty()) return true;
    platform::dialogs().message(this, QStringLiteral("Nemáte nainstalovanou tiskárnu. Nainstalujte si ji prosím."));
    return false;
}

void TMainform::tiskClick() {
    if (!CheckPrinterInstalled()) return;
    editor->PrintDocument(windowTitle());
    editor->setFocus();
}

void TMainform::isk1Click() {
    if (!CheckPrinterInstalled()) return;
    platform::Printer& printer = platform::printer();
    PrintDialog1.printer = printer.Setup();
    PrintDialog1.copies = printer.Copies();
    if (!platform::dialogs().print(this, PrintDialog1)) return;
    printer.ApplySetup(PrintDialog1.printer);
    printer.SetCopies(PrintDialog1.copies);
    // What the user chose is printed: the whole text, a page range or the selection.
    TQxRichEdit::TPrintScope scope;
    switch (PrintDialog1.range) {
    case platform::PrintRange::AllPages: break;
    case platform::PrintRange::PageNums:
        scope.kind = TQxRichEdit::TPrintScope::Kind::PageNums;
        scope.FromPage = PrintDialog1.fromPage;
        scope.ToPage = PrintDialog1.toPage;
        break;
    case platform::PrintRange::Selection: scope.kind = TQxRichEdit::TPrintScope::Kind::Selection; break;
    }
    editor->PrintDocument(windowTitle(), scope);
    editor->setFocus();
}

void TMainform::vzhledstrnky1Click() {
    platform::Printer& printer = platform::printer();
    printer.Handle();  // without a printer: "There is no default printer currently selected"
    PageSetupDialog1.printer = printer.Setup();
    if (platform::dialogs().pageSetup(this, PageSetupDialog1)) printer.ApplySetup(PageSetupDialog1.printer);
    editor->setFocus();
}

void TMainform::NhledPedTiskem1Click() {
    TfrmMain form(editor, this);
    frmMain = &form;
    // A failure while the pages are built (no printer) takes the unexpected-error path; the window
    // still opens, with what it has.
    if (platform::Application* application = platform::Application::instance())
        application->guarded(&form, [&form] { form.FormCreate(); });
    else
        form.FormCreate();
    form.exec();
    frmMain = nullptr;
}

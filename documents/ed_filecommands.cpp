// File commands of the main window: new, open, save, save as, and the saving step of the prompts.
#include "app/ed.h"

#include "documents/QxConversion.h"
#include "documents/QxConversionList.h"

#include "editing/QxLines.h"
#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "platform/dialogs/dialogs.h"

#include <QFileInfo>
#include <QToolButton>

namespace {

const QString kCaptionPrefix = QStringLiteral("Quillex - ");
const QString kSaveChangesQuestion = QStringLiteral("Uložit změny?");

QList<platform::FileFilter> openFilters() {
    return {
        {QStringLiteral("Textové dokumenty(*.rtf;*.doc;*.qlx)"), QStringLiteral("*.rtf;*.doc;*.qlx;")},
        {QStringLiteral("delphi soubory(*.pas;*.dfm;*.dpr)"), QStringLiteral("*.pas;*.dfm;*.dpr;")},
        {QStringLiteral("dávkové soubory(*.bat;*.sys;*.ini)"), QStringLiteral("*.bat;*.sys;*.ini;")},
        {QStringLiteral("Stránky Html(*.html;*.htm)"), QStringLiteral("*.html;*.htm;")},
        {QStringLiteral("Neformatovaný text(*.txt]"), QStringLiteral("*.txt;")},
        {QStringLiteral("Všechny soubory(*.*)"), QStringLiteral("*.*;")},
    };
}

QList<platform::FileFilter> saveFilters() {
    return {
        {QStringLiteral("Quillex text(*.qlx)"), QStringLiteral("*.qlx")},
        {QStringLiteral("Textový dokument(*.doc)"), QStringLiteral("*.doc")},
        {QStringLiteral("Standardní formatovaný text(*.rtf)"), QStringLiteral("*.rtf")},
        {QStringLiteral("Webová stránka(*.html;*.htm)"), QStringLiteral("*.html;*.htm")},
        {QStringLiteral("Delphi soubory(*.pas;*.dpr;*.dfm)"), QStringLiteral("*.pas;*.dpr;*.dfm")},
        {QStringLiteral("Neformatovaný Text(*.txt)"), QStringLiteral("*.txt")},
    };
}

constexpr int kOpenTypeHtml = 4;
constexpr int kOpenTypeAllFiles = 6;

// Whether a load of `fileName` in rich mode reads RTF: not a ".txt" name, and a file that the RTF
// conversion recognises; otherwise the storage layer reads it as plain text.
bool LoadsAsRichText(const QString& fileName) {
    if (QFileInfo(fileName).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0) return false;
    return TConversionFormatList::Instance().RTFConversion().IsFileFormat(fileName);
}

}  // namespace

bool TMainform::SaveDocument(const QString& path) {
    // Types 2 to 5 are plain-text kinds; "all files" only when the document was read as plain text,
    // so that a formatted RTF file opened that way is not flattened on saving.
    if (OpenType >= 2 && (OpenType != kOpenTypeAllFiles || DocumentReadAsPlainText)) editor->SetPlainText(true);
    editor->Lines()->SaveFile(path);
    editor->SetModified(false);
    return true;
}

bool TMainform::SaveDocumentAs(QString& path) {
    platform::FileDialogRequest request;
    request.filters = saveFilters();
    request.filterIndex = SaveType;
    request.initialDir = SaveFolder;
    request.fileName = path.isEmpty() ? QStringLiteral("nový dokument") : path;
    const std::optional<platform::FileDialogResult> chosen = platform::dialogs().saveFile(this, request);
    if (!chosen) return false;
    SaveType = chosen->filterIndex;
    // Types 1 to 3 are formatted documents (".qlx", ".doc", ".rtf") and keep the mode; 4 to 6 are plain.
    if (SaveType >= 4) editor->SetPlainText(true);
    path = chosen->fileName;
    const bool saved = SaveDocument(path);
    setWindowTitle(kCaptionPrefix + path);
    return saved;
}

bool TMainform::RunSavingStep() {
    if (!DocumentPath.isEmpty()) return SaveDocument(DocumentPath);
    return SaveDocumentAs(DocumentPath);
}

void TMainform::ulozitClick() {
    if (DocumentPath.isEmpty()) {
        SaveDocumentAs(DocumentPath);
    } else {
        SaveDocument(DocumentPath);
        if (OpenType == kOpenTypeHtml) ApplyHtmlSyntax();
    }
    editor->setFocus();
}

void TMainform::uloit1Click() {
    if (DocumentPath.isEmpty()) SaveDocumentAs(DocumentPath);
    else SaveDocument(DocumentPath);
    editor->setFocus();
}

void TMainform::Uloitjako1Click() {
    SaveDocumentAs(DocumentPath);
    editor->setFocus();
}

void TMainform::Nov1Click() {
    if (editor->PlainText()) editor->SetPlainText(false);
    if (editor->Modified()) {
        switch (platform::dialogs().confirm(this, kSaveChangesQuestion)) {
        case platform::ConfirmAnswer::Cancel: return;
        case platform::ConfirmAnswer::Yes:
            // Nothing is discarded unless it was saved.
            if (!RunSavingStep()) return;
            editor->SetModified(false);
            break;
        case platform::ConfirmAnswer::No: break;
        }
    }
    editor->Lines()->Clear();
    editor->SetModified(false);
    DocumentPath.clear();
    DocumentReadAsPlainText = false;
    setWindowTitle(kCaptionPrefix);
    editor->SetPlainText(false);
    editor->setFocus();
}

void TMainform::ReadChosenFile(const QString& fileName, bool plainTextFirst) {
    if (plainTextFirst) editor->SetPlainText(true);
    // The path and caption change only after a successful read, so that a failed read cannot make
    // the next save write the old text under the new name.
    editor->Lines()->LoadFile(fileName);
    DocumentPath = fileName;
    DocumentReadAsPlainText = editor->PlainText() || !LoadsAsRichText(fileName);
    editor->SetModified(false);
    setWindowTitle(kCaptionPrefix + fileName);
}

void TMainform::Otevt1Click() {
    platform::FileDialogRequest request;
    request.filters = openFilters();
    request.filterIndex = OpenType;
    const std::optional<platform::FileDialogResult> chosen = platform::dialogs().openFile(this, request);
    if (!chosen) return;
    OpenDialogFileName = chosen->fileName;  // the dialog keeps it whatever happens next
    const QString fileName = chosen->fileName;

    if (editor->Modified()) {
        const platform::ConfirmAnswer answer = platform::dialogs().confirm(this, kSaveChangesQuestion);
        // The current document is saved as the type it was opened with: the type just chosen is the
        // new file's, and a plain-text type would flatten the formatted document being saved.
        const bool saved = answer != platform::ConfirmAnswer::Yes || RunSavingStep();
        OpenType = chosen->filterIndex;
        switch (answer) {
        case platform::ConfirmAnswer::Cancel: return;
        case platform::ConfirmAnswer::Yes:
            if (!saved) return;
            editor->SetModified(false);
            ReadChosenFile(fileName, OpenType >= 2);
            return;  // without the final steps
        case platform::ConfirmAnswer::No:
            editor->SetModified(false);
            ReadChosenFile(fileName, OpenType >= 2);
            break;
        }
    } else {
        OpenType = chosen->filterIndex;
        ReadChosenFile(fileName, OpenType == 3);
    }

    if (editor->PlainText()) editor->SetPlainText(false);
    if (OpenType == kOpenTypeHtml) ApplyHtmlSyntax();
    editor->SetModified(false);
    RefreshCountPanels();
    const QString suffix = QFileInfo(fileName).suffix();
    DocumentExt = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    if (DocumentExt == QLatin1String(".html") || DocumentExt == QLatin1String(".htm")) htmlview->setEnabled(true);
    editor->repaint();
    editor->setFocus();
}

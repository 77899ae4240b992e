// The external libraries: each use loads the library from the program's bin/ folder, looks up one
// entry, calls it and releases the library again. Nothing is cached between calls.
#include "app/ed.h"
#include "app/editoraccess.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "platform/dialogs/dialogs.h"
#include "platform/library.h"
#include "plugins/include/quillex_plugin.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// Loads ProgramDir + "bin/" + `file` (never through a search path or the current directory), looks
// up `entryName` and hands it to `call`; reports a missing library or entry with the program's texts.
template <typename Entry, typename Call>
void CallLibrary(QWidget* owner, const QString& file, const char* entryName, const QString& notFound, Call&& call) {
    std::unique_ptr<platform::Library> library = platform::Library::load(ProgramDir + QStringLiteral("bin/") + file);
    if (!library) {
        platform::dialogs().message(owner, notFound);
        return;
    }
    auto entry = reinterpret_cast<Entry>(library->entry(entryName));
    if (!entry) {
        platform::dialogs().message(owner, QStringLiteral("Nebyla nalezena potřebná procedura"));
        return;  // released here, once
    }
    call(entry);
}  // released here, once, also when the entry throws

}  // namespace

void TMainform::ShowAuthorInfo() {
    CallLibrary<QxAutorEntry>(this, QStringLiteral("quilauth.dll"), "Autor",
                              QStringLiteral("Dynamická knihovna quilauth.dll nenalezena"),
                              [](QxAutorEntry autor) { autor("Quillex"); });
}

void TMainform::ShowProgramInfo() {
    CallLibrary<QxInfoEntry>(this, QStringLiteral("quilinf.dll"), "Info",
                             QStringLiteral("dynamická knihovna quilinf.dll nenalezena"), [](QxInfoEntry info) { info(); });
}

void TMainform::ApplyHtmlSyntax() {
    CallLibrary<QxHtmlSyntaxeEntry>(this, QStringLiteral("quilhtmls.dll"), "htmlsyntaxe",
                                    QStringLiteral("Dynamická knihovna quilhtmls.dll nenalezena"),
                                    [this](QxHtmlSyntaxeEntry htmlsyntaxe) {
                                        EditorAccess access(*editor);
                                        htmlsyntaxe(&access);
                                    });
}

void TMainform::CreateProgramShortcut(unsigned char place) {
    CallLibrary<QxCreateShortcutEntry>(this, QStringLiteral("quilcsc.dll"), "CreateShortcut",
                                       QStringLiteral("dynamická knihovna quilcsc.dll nenalezena"),
                                       [place](QxCreateShortcutEntry create) {
                                           const QByteArray exe = QFile::encodeName(QCoreApplication::applicationFilePath());
                                           create(exe.constData(), place, 0);
                                       });
}

void TMainform::Oprogramu1Click() { ShowProgramInfo(); }

void TMainform::Oautorovi1Click() { ShowAuthorInfo(); }

// The main window's HTML preview command.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "htmlpreview/htmlpreview.h"
#include "platform/dialogs/dialogs.h"

#include <QToolButton>

void TMainform::ToolButton10Click() {
    if (OpenDialogFileName.isEmpty()) {
        platform::dialogs().message(this, QStringLiteral("Nemáte otevřeny soubor který by se dal zobrazit!"));
        return;
    }
    // The browser shows the file as stored, so unsaved changes would not be seen.
    if (editor->Modified()) {
        platform::dialogs().message(this, QStringLiteral("Před spuštěním náhledu nejprve prosím uložte soubor!"));
        return;
    }
    auto* window = new Thtmlstrf(OpenDialogFileName, this);
    htmlstrf = window;
    window->exec();
    // A fresh window every time: the closed one is not shown again.
    htmlstrf = nullptr;
    window->deleteLater();
}

void TMainform::connectHtmlPreviewCommand() {
    connect(htmlview, &QToolButton::clicked, this, [this] { ToolButton10Click(); });
}

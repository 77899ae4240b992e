#include "app/ed.h"
#include "app/resources.h"

#include "documents/QxRichEditStrings.h"
#include "editing/QxLines.h"
#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "platform/application.h"
#include "platform/dialogs/dialogs.h"
#include "platform/errors.h"
#include "platform/shell.h"

#include <QCloseEvent>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

QString DocumentPath;
QString ProgramDir;
QString ClipartDir;
QString DocumentExt;
TMainform* Mainform = nullptr;

namespace {
const QString kTitle = QStringLiteral("Quillex");
}

TMainform::TMainform(QWidget* parent) : QMainWindow(parent) {
    InitQuillexResources();
    Mainform = this;
    setObjectName(QStringLiteral("Mainform"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/quillex/quillex.png")));
    QFont font = this->font();
    font.setPointSize(8);
    setFont(font);
    resize(969, 623);
    move(100, 100);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    editor = new TQxRichEdit(central);
    editor->setObjectName(QStringLiteral("editor"));
    editor->SetLines(std::make_unique<TQxRichEditStrings>(*editor));
    layout->addWidget(buildRuler(central));
    layout->addWidget(editor, 1);
    setCentralWidget(central);

    buildMenus();
    buildPopupMenu();
    buildToolBars();
    buildStatusBar();
    buildEditActions();
    bindEditingCommands();
    connectHtmlPreviewCommand();
    connectSettingsCommands();
    editor->SetPopupMenu(PopupMenu1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TMainform::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);  // the form's own state until the configuration is read
    connect(Timer2, &QTimer::timeout, this, &TMainform::Timer2Timer);
    editor->OnKeyPress = [this](QObject*, QChar&) { RefreshCountPanels(); };
    editor->OnMouseDown = [this](QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position) {
        editorMouseDown(sender, button, shift, position);
    };
    editor->OnKeyDown = [this](QObject* sender, int& key, Qt::KeyboardModifiers shift) { editorKeyDown(sender, key, shift); };
    editor->OnFormatKey = [this](QObject*) { UpdateFormatControls(); };
    editor->setFocus();
}

TMainform::~TMainform() {
    if (auto* app = platform::Application::instance()) app->setExceptionHandler(nullptr);
    if (Mainform == this) Mainform = nullptr;
}

void TMainform::FormCreate(const QStringList& arguments) {
    // Hints reach ShowHint through this window's event(); escaped errors go to the log.
    if (auto* app = platform::Application::instance())
        app->setExceptionHandler([this](QObject* sender, const platform::Error& e) { LogUnexpectedError(sender, e); });
    ProgramDir = platform::executableDir();
    // One argument is a document to open. A document that cannot be read is reported and start-up
    // goes on; the path is taken only when the read succeeded, so a later save cannot write the empty
    // document over the file that failed to load.
    if (arguments.size() == 1) {
        const QString path = arguments.first();
        auto load = [&] {
            editor->Lines()->LoadFile(path);
            DocumentPath = path;
            setWindowTitle(windowTitle() + QStringLiteral("-") + path);
            editor->repaint();
            editor->SetModified(false);
        };
        if (auto* app = platform::Application::instance()) app->guarded(this, load);
        else load();
    }
    FlatMenuActive = platform::osVersion().minor != 10;
    editor->SetModified(false);
    LoadSettings();
    ClipartDir = ProgramDir + QStringLiteral("clipart/");
    StartRulerBinding();
    RefreshCountPanels();
    editor->SetModified(false);
    Timer1->start();
}

// ---- closing ------------------------------------------------------------------------------------

void TMainform::closeEvent(QCloseEvent* event) {
    // Ignored until the close is decided: an error escaping a save below must not let the window go.
    event->ignore();
    FormCloseQuery();
    if (FormClose()) event->accept();
}

void TMainform::FormCloseQuery() {
    SaveSettings();  // on every attempt to close, whatever the answer to the prompt below
}

bool TMainform::FormClose() {
    if (!editor->Modified()) return true;
    switch (platform::dialogs().confirm(this, QStringLiteral("Uložit změny?"))) {
    case platform::ConfirmAnswer::Cancel: return false;
    case platform::ConfirmAnswer::No: return true;
    case platform::ConfirmAnswer::Yes:
        // A cancelled save dialog keeps the window open: closing would throw the document away.
        return RunSavingStep();
    }
    return false;
}

void TMainform::Konec1Click() {
    if (editor->Modified()) {
        switch (platform::dialogs().confirm(this, QStringLiteral("Uložit změny?"))) {
        case platform::ConfirmAnswer::Cancel: return;
        case platform::ConfirmAnswer::Yes:
            if (!SaveDocumentAs(DocumentPath)) return;
            break;
        case platform::ConfirmAnswer::No: break;
        }
    }
    editor->SetModified(false);
    close();
}

// ---- hints ------------------------------------------------------------------------------------

bool TMainform::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ApplicationHint = static_cast<QStatusTipEvent*>(event)->tip();
        ShowHint();
        return true;
    }
    return QMainWindow::event(event);
}

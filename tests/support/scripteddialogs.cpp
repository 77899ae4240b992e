#include "tests/support/scripteddialogs.h"

namespace qxtest {

void ScriptedDialogs::expectMessage() { answers_.push_back(Message{}); }
void ScriptedDialogs::answerConfirm(platform::ConfirmAnswer answer) { answers_.push_back(Confirm{answer}); }
void ScriptedDialogs::answerOpen(const QString& fileName, int filterIndex) {
    answers_.push_back(File{platform::FileDialogResult{fileName, filterIndex}});
}
void ScriptedDialogs::answerSave(const QString& fileName, int filterIndex) {
    answers_.push_back(File{platform::FileDialogResult{fileName, filterIndex}});
}
void ScriptedDialogs::cancelFileDialog() { answers_.push_back(File{std::nullopt}); }
void ScriptedDialogs::answerColor(const QColor& color) { answers_.push_back(Color{color}); }
void ScriptedDialogs::cancelColorDialog() { answers_.push_back(Color{std::nullopt}); }
void ScriptedDialogs::answerFolder(const QString& folder) { answers_.push_back(Folder{folder}); }
void ScriptedDialogs::expectErrorMessage() { answers_.push_back(ErrorMessage{}); }
void ScriptedDialogs::answerInsertObject(const QString& fileName) { answers_.push_back(InsertObject{fileName}); }
void ScriptedDialogs::cancelInsertObject() { answers_.push_back(InsertObject{std::nullopt}); }
void ScriptedDialogs::answerObjectProperties(std::optional<int> scalePercent) {
    answers_.push_back(Properties{scalePercent});
}
void ScriptedDialogs::answerPrint(std::function<void(platform::PrintDialogState&)> choose) {
    answers_.push_back(Print{true, std::move(choose)});
}
void ScriptedDialogs::cancelPrint() { answers_.push_back(Print{}); }
void ScriptedDialogs::answerPageSetup(std::function<void(platform::PageSetupState&)> choose) {
    answers_.push_back(PageSetup{true, std::move(choose)});
}
void ScriptedDialogs::cancelPageSetup() { answers_.push_back(PageSetup{}); }
void ScriptedDialogs::answerPrinterSetup(std::function<void(platform::PrinterSetup&)> choose) {
    answers_.push_back(PrinterSetup{true, std::move(choose)});
}
void ScriptedDialogs::cancelPrinterSetup() { answers_.push_back(PrinterSetup{}); }

QStringList ScriptedDialogs::messages() const {
    QStringList out;
    for (const QString& a : asked_)
        if (a.startsWith(QLatin1String("message: "))) out << a.mid(9);
    return out;
}

QStringList ScriptedDialogs::errorMessages() const {
    QStringList out;
    for (const QString& a : asked_)
        if (a.startsWith(QLatin1String("error: "))) out << a.mid(7);
    return out;
}

template <typename T>
const T* ScriptedDialogs::next(const QString& question) {
    asked_ << question;
    if (answers_.empty() || !std::holds_alternative<T>(answers_.front())) {
        unexpected_ << question;
        return nullptr;
    }
    static thread_local T current;
    current = std::get<T>(answers_.front());
    answers_.pop_front();
    return &current;
}

void ScriptedDialogs::message(QWidget*, const QString& text) { next<Message>(QStringLiteral("message: ") + text); }

platform::ConfirmAnswer ScriptedDialogs::confirm(QWidget*, const QString& text) {
    const Confirm* c = next<Confirm>(QStringLiteral("confirm: ") + text);
    return c ? c->answer : platform::ConfirmAnswer::Cancel;
}

std::optional<platform::FileDialogResult> ScriptedDialogs::openFile(QWidget*, const platform::FileDialogRequest& request) {
    lastFileRequest_ = request;
    const File* f = next<File>(QStringLiteral("open"));
    return f ? f->result : std::nullopt;
}

std::optional<platform::FileDialogResult> ScriptedDialogs::saveFile(QWidget*, const platform::FileDialogRequest& request) {
    lastFileRequest_ = request;
    const File* f = next<File>(QStringLiteral("save: ") + request.fileName);
    return f ? f->result : std::nullopt;
}

std::optional<QColor> ScriptedDialogs::chooseColor(QWidget*, const QColor& initial) {
    lastColorInitial_ = initial;
    const Color* c = next<Color>(QStringLiteral("color"));
    if (!c) return std::nullopt;
    return c->color;
}

std::optional<QString> ScriptedDialogs::chooseFolder(QWidget*, const QString&, const QString&) {
    const Folder* f = next<Folder>(QStringLiteral("folder"));
    if (!f) return std::nullopt;
    return f->folder;
}

void ScriptedDialogs::errorMessage(QWidget*, const QString& text) { next<ErrorMessage>(QStringLiteral("error: ") + text); }

std::optional<QString> ScriptedDialogs::insertObject(QWidget*, const platform::FileDialogRequest& request) {
    lastFileRequest_ = request;
    const InsertObject* answer = next<InsertObject>(QStringLiteral("insert object"));
    return answer ? answer->fileName : std::nullopt;
}

std::optional<int> ScriptedDialogs::objectProperties(QWidget*, const platform::ObjectProperties& properties) {
    lastObjectProperties_ = properties;
    const Properties* answer = next<Properties>(QStringLiteral("properties: ") + properties.typeName);
    return answer ? answer->scale : std::nullopt;
}

template <typename State>
bool ScriptedDialogs::answerPrinting(const QString& question, State& state) {
    const Printing<State>* answer = next<Printing<State>>(question);
    if (!answer || !answer->ok) return false;
    if (answer->choose) answer->choose(state);
    return true;
}

bool ScriptedDialogs::print(QWidget*, platform::PrintDialogState& state) {
    lastPrintShown_ = state;
    return answerPrinting(QStringLiteral("print"), state);
}

bool ScriptedDialogs::pageSetup(QWidget*, platform::PageSetupState& state) {
    lastPageSetupShown_ = state;
    return answerPrinting(QStringLiteral("page setup"), state);
}

bool ScriptedDialogs::printerSetup(QWidget*, platform::PrinterSetup& state) {
    return answerPrinting(QStringLiteral("printer setup"), state);
}

ScopedDialogs::ScopedDialogs() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs_ = scripted.get();
    previous_ = platform::installDialogs(std::move(scripted));
}

ScopedDialogs::~ScopedDialogs() { platform::installDialogs(std::move(previous_)); }

}  // namespace qxtest

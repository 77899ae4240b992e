#pragma once
// Dialogs answered from a script: each question takes the next answer of its kind from the queue,
// and every question is recorded. A question with no answer waiting is an error that the test sees
// through unexpected() (the question then gets Cancel / no file / no colour).

#include "platform/dialogs/dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <variant>

namespace qxtest {

struct MessageShown {
    QString text;
};

class ScriptedDialogs : public platform::Dialogs {
public:
    // Answers, in the order the questions will come.
    void expectMessage();                                          // a plain message box
    void answerConfirm(platform::ConfirmAnswer answer);
    void answerOpen(const QString& fileName, int filterIndex);
    void answerSave(const QString& fileName, int filterIndex);
    void cancelFileDialog();                                       // the next open or save dialog
    void answerColor(const QColor& color);
    void cancelColorDialog();
    void answerFolder(const QString& folder);
    void expectErrorMessage();                                     // a message box with the error icon
    void answerInsertObject(const QString& fileName);              // the insert-object dialog
    void cancelInsertObject();
    void answerObjectProperties(std::optional<int> scalePercent);  // nullopt: Cancel
    // The printing dialogs: OK after `choose` changed what the dialog shows (nothing: OK as shown),
    // or Cancel.
    void answerPrint(std::function<void(platform::PrintDialogState&)> choose = {});
    void cancelPrint();
    void answerPageSetup(std::function<void(platform::PageSetupState&)> choose = {});
    void cancelPageSetup();
    void answerPrinterSetup(std::function<void(platform::PrinterSetup&)> choose = {});
    void cancelPrinterSetup();

    // What was asked: "message: <text>", "confirm: <text>", "open", "save: <proposed name>", ...
    const QStringList& asked() const { return asked_; }
    QStringList messages() const;  // texts of the message boxes shown
    QStringList errorMessages() const;  // texts of the error message boxes shown
    const platform::ObjectProperties& lastObjectProperties() const { return lastObjectProperties_; }
    const QStringList& unexpected() const { return unexpected_; }
    int pendingAnswers() const { return int(answers_.size()); }
    const platform::FileDialogRequest& lastFileRequest() const { return lastFileRequest_; }
    const QColor& lastColorInitial() const { return lastColorInitial_; }  // the colour the last colour dialog started from
    // What the printing dialogs showed when they last opened.
    const platform::PrintDialogState& lastPrintShown() const { return lastPrintShown_; }
    const platform::PageSetupState& lastPageSetupShown() const { return lastPageSetupShown_; }

    void message(QWidget* owner, const QString& text) override;
    platform::ConfirmAnswer confirm(QWidget* owner, const QString& text) override;
    std::optional<platform::FileDialogResult> openFile(QWidget* owner, const platform::FileDialogRequest& request) override;
    std::optional<platform::FileDialogResult> saveFile(QWidget* owner, const platform::FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* owner, const QColor& initial) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title, const QString& initial) override;
    void errorMessage(QWidget* owner, const QString& text) override;
    std::optional<QString> insertObject(QWidget* owner, const platform::FileDialogRequest& request) override;
    std::optional<int> objectProperties(QWidget* owner, const platform::ObjectProperties& properties) override;
    bool print(QWidget* owner, platform::PrintDialogState& state) override;
    bool pageSetup(QWidget* owner, platform::PageSetupState& state) override;
    bool printerSetup(QWidget* owner, platform::PrinterSetup& state) override;

private:
    struct Message {};
    struct Confirm {
        platform::ConfirmAnswer answer;
    };
    struct File {
        std::optional<platform::FileDialogResult> result;
    };
    struct Color {
        std::optional<QColor> color;  // nullopt: cancelled
    };
    struct Folder {
        QString folder;
    };
    struct ErrorMessage {};
    struct InsertObject {
        std::optional<QString> fileName;
    };
    struct Properties {
        std::optional<int> scale;
    };
    template <typename State>
    struct Printing {
        bool ok = false;
        std::function<void(State&)> choose;
    };
    using Print = Printing<platform::PrintDialogState>;
    using PageSetup = Printing<platform::PageSetupState>;
    using PrinterSetup = Printing<platform::PrinterSetup>;
    using Answer = std::variant<Message, Confirm, File, Color, Folder, ErrorMessage, InsertObject, Properties, Print, PageSetup,
                                PrinterSetup>;

    template <typename State>
    bool answerPrinting(const QString& question, State& state);

    template <typename T>
    const T* next(const QString& question);

    std::deque<Answer> answers_;
    QStringList asked_;
    QStringList unexpected_;
    platform::FileDialogRequest lastFileRequest_;
    QColor lastColorInitial_;
    platform::ObjectProperties lastObjectProperties_;
    platform::PrintDialogState lastPrintShown_;
    platform::PageSetupState lastPageSetupShown_;
};

// Installs a ScriptedDialogs for the lifetime of the scope and restores the previous dialogs after.
class ScopedDialogs {
public:
    ScopedDialogs();
    ~ScopedDialogs();
    ScriptedDialogs* operator->() { return dialogs_; }
    ScriptedDialogs& operator*() { return *dialogs_; }

private:
    ScriptedDialogs* dialogs_;
    std::unique_ptr<platform::Dialogs> previous_;
};

}  // namespace qxtest

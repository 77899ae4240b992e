#pragma once
// The real dialogs: Qt message boxes and Qt's own (non-native) file, colour and folder dialogs; the
// printing dialogs are Qt's print and page-setup dialogs (qtprintdialogs.cpp).

#include "platform/dialogs/dialogs.h"

namespace platform {

class QtDialogs : public Dialogs {
public:
    void message(QWidget* owner, const QString& text) override;
    ConfirmAnswer confirm(QWidget* owner, const QString& text) override;
    std::optional<FileDialogResult> openFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* owner, const QColor& initial) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title, const QString& initial) override;
    void errorMessage(QWidget* owner, const QString& text) override;
    std::optional<QString> insertObject(QWidget* owner, const FileDialogRequest& request) override;   // objectdialogs.cpp
    std::optional<int> objectProperties(QWidget* owner, const ObjectProperties& properties) override;  // objectdialogs.cpp
    bool print(QWidget* owner, PrintDialogState& state) override;
    bool pageSetup(QWidget* owner, PageSetupState& state) override;
    bool printerSetup(QWidget* owner, PrinterSetup& state) override;
};

}  // namespace platform

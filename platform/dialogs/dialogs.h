#pragma once
// Every modal question the program asks goes through this interface, so that tests can answer from
// a script. The Qt implementation shows real dialogs; install another with installDialogs().

#include "platform/printer/printersetup.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QWidget;

namespace platform {

enum class ConfirmAnswer { Yes, No, Cancel };

struct FileFilter {
    QString label;    // shown to the user, exactly as given
    QString pattern;  // "*.html;*.htm"
};

struct FileDialogRequest {
    QList<FileFilter> filters;
    int filterIndex = 1;    // 1-based, as the user left it last time
    QString initialDir;
    QString fileName;       // proposed name (save)
    QString title;          // empty: the platform's default title
    bool picturePreview = false;  // open dialog: show a preview of the picture under the cursor
};

// What the object-properties dialog shows about an embedded picture.
struct ObjectProperties {
    QString typeName;        // the object's type, also the title ("<type> Properties")
    QSize pixelSize;         // the picture's own size in pixels
    QSize displayedTwips;    // the size it is shown at, twips
    int scalePercent = 100;  // the scale the dialog starts with
};

struct FileDialogResult {
    QString fileName;       // full path
    int filterIndex = 1;    // the filter the user chose, 1-based
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A plain message box titled with the application title, with an OK button.
    virtual void message(QWidget* owner, const QString& text) = 0;
    // The confirmation box titled "Confirm" with "&Yes", "&No" and "Cancel"; closing it is Cancel.
    virtual ConfirmAnswer confirm(QWidget* owner, const QString& text) = 0;
    // File dialogs; nullopt when the user cancelled. The save dialog adds the chosen filter's
    // extension to a bare name and asks before overwriting.
    virtual std::optional<FileDialogResult> openFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> saveFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* owner, const QColor& initial) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title, const QString& initial) = 0;
    // A message box like message(), with the error icon.
    virtual void errorMessage(QWidget* owner, const QString& text) = 0;
    // The insert-object dialog: the file (one of `request.filters`) to create an object from;
    // nullopt when the user cancelled.
    virtual std::optional<QString> insertObject(QWidget* owner, const FileDialogRequest& request) = 0;
    // The object-properties dialog: the scale in percent the user confirmed with OK; nullopt on Cancel.
    virtual std::optional<int> objectProperties(QWidget* owner, const ObjectProperties& properties) = 0;
    // Printing dialogs: shown preset from `state`; on OK the user's choices are written back into it
    // and the answer is true; on cancel `state` is left as it was.
    virtual bool print(QWidget* owner, PrintDialogState& state) = 0;
    virtual bool pageSetup(QWidget* owner, PageSetupState& state) = 0;
    virtual bool printerSetup(QWidget* owner, PrinterSetup& state) = 0;
};

// The installed implementation (the Qt one unless a test installed its own).
Dialogs& dialogs();
// Installs `implementation`; returns the one it replaces.
std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> implementation);

}  // namespace platform

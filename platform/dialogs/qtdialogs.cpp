#include "platform/dialogs/qtdialogs.h"
#include "platform/dialogs/picturepreview.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

std::unique_ptr<Dialogs>& installed() {
    static std::unique_ptr<Dialogs> current = std::make_unique<QtDialogs>();
    return current;
}

// The patterns of a filter as Qt's file model wants them: "*.rtf;*.doc;" -> {"*.rtf", "*.doc"};
// "*.*" means every file, as users of the original platform expect.
QStringList modelPatterns(const QString& pattern) {
    QStringList out;
    for (const QString& p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        out << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return out;
}

// The first concrete extension of a pattern such as "*.html;*.htm", with its dot; empty for "*.*".
QString firstExtension(const QString& pattern) {
    for (const QString& p : pattern.split(QLatin1Char(';'))) {
        const QString ext = p.trimmed().mid(1);
        if (ext.startsWith(QLatin1Char('.')) && !ext.contains(QLatin1Char('*'))) return ext;
    }
    return {};
}

std::optional<FileDialogResult> runFileDialog(QWidget* owner, const FileDialogRequest& r, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, r.title, r.initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // A typed name of a file that does not exist is accepted by the open dialog too; the command
    // that reads it reports the failure.
    dialog.setFileMode(QFileDialog::AnyFile);
    // The labels are shown exactly as written; the files are filtered by the pattern column, which
    // Qt would otherwise try to read out of the label's parentheses.
    QStringList filters;
    for (const FileFilter& f : r.filters) filters << f.label;
    dialog.setNameFilters(filters);
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto useFilter = [&](int i) {
        if (i < 0 || i >= r.filters.size()) return;
        if (model) {
            model->setNameFilterDisables(false);
            model->setNameFilters(modelPatterns(r.filters.at(i).pattern));
        }
        if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(firstExtension(r.filters.at(i).pattern).mid(1));
    };
    const int index = std::clamp(r.filterIndex, 1, int(std::max<qsizetype>(1, filters.size())));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { useFilter(int(filters.indexOf(filter))); });
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.at(index - 1));
    useFilter(index - 1);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (r.picturePreview) addPicturePreview(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogResult result;
    result.fileName = dialog.selectedFiles().first();
    result.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (result.filterIndex < 1) result.filterIndex = index;
    return result;
}

}  // namespace

Dialogs& dialogs() { return *installed(); }

std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> implementation) {
    std::unique_ptr<Dialogs> previous = std::move(installed());
    installed() = std::move(implementation);
    return previous;
}

void QtDialogs::message(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.exec();
}

void QtDialogs::errorMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.exec();
}

ConfirmAnswer QtDialogs::confirm(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);  // closing the box counts as Cancel
    box.exec();
    if (box.clickedButton() == yes) return ConfirmAnswer::Yes;
    if (box.clickedButton() == no) return ConfirmAnswer::No;
    return ConfirmAnswer::Cancel;
}

std::optional<FileDialogResult> QtDialogs::openFile(QWidget* owner, const FileDialogRequest& request) {
    return runFileDialog(owner, request, QFileDialog::AcceptOpen);
}

std::optional<FileDialogResult> QtDialogs::saveFile(QWidget* owner, const FileDialogRequest& request) {
    return runFileDialog(owner, request, QFileDialog::AcceptSave);
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* owner, const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, owner, QString(), QColorDialog::DontUseNativeDialog);
    if (!c.isValid()) return std::nullopt;
    return c;
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* owner, const QString& title, const QString& initial) {
    const QString dir = QFileDialog::getExistingDirectory(owner, title, initial,
                                                          QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (dir.isEmpty()) return std::nullopt;
    return dir;
}

}  // namespace platform

// The main window's insert commands (picture, date and time, object), the zoom box and link clicks.
#include "app/ed.h"

#include "editing/QxLines.h"
#include "editing/QxRichEdit.h"
#include "editing/datetimetext.h"
#include "editing/linktarget.h"
#include "platform/dialogs/dialogs.h"
#include "platform/picture/metafile.h"
#include "platform/picture/picture.h"
#include "platform/richedit/engine.h"
#include "platform/shell.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>

namespace {

const QString kPictureRefused = QStringLiteral("Tento typ obrázku nelze vložit");

// The picture formats the insert-picture dialog lists, and all of them together first.
QList<platform::FileFilter> pictureFilters() {
    return {
        {QStringLiteral("Všechny obrázky (*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg;*.png)"),
         QStringLiteral("*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg;*.png")},
        {QStringLiteral("Bitmapy (*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("Ikony (*.ico)"), QStringLiteral("*.ico")},
        {QStringLiteral("Rozšířené metasoubory (*.emf)"), QStringLiteral("*.emf")},
        {QStringLiteral("Metasoubory (*.wmf)"), QStringLiteral("*.wmf")},
        {QStringLiteral("Obrázky JPEG (*.jpg;*.jpeg)"), QStringLiteral("*.jpg;*.jpeg")},
        {QStringLiteral("Obrázky PNG (*.png)"), QStringLiteral("*.png")},
    };
}

struct PictureRefused : std::exception {};

QByteArray readPictureFile(const QString& path, qint64 limit) {
    QFile file(path);
    if (file.size() > limit || !file.open(QIODevice::ReadOnly)) throw PictureRefused{};
    return file.readAll();
}

// A metafile goes on the clipboard as itself, with a bitmap of its size beside it for programs
// that cannot take a metafile; one that does not play is refused.
QMimeData* clipboardMetafile(const QString& path) {
    const QByteArray data = readPictureFile(path, platform::kMaxMetafileSize);
    const QString format = platform::detectMetafileFormat(data);
    const std::optional<platform::MetafilePicture> played = platform::replayMetafile(data, format);
    if (!played) throw PictureRefused{};
    auto* mime = new QMimeData;
    mime->setData(richedit::metafileMimeType(format), data);
    mime->setImageData(platform::renderMetafile(*played, played->size.toSize()));
    return mime;
}

// The picture on the clipboard as the insert-picture command puts it there: bitmaps as they are,
// JPEG and PNG pictures drawn into a bitmap of their size, metafiles as metafiles. Icons cannot go
// on the clipboard; those, unreadable files and unknown formats are refused.
QMimeData* clipboardPicture(const QString& path) {
    const QString format = platform::pictureFormatForSuffix(QFileInfo(path).suffix());
    if (format == QLatin1String("wmf") || format == QLatin1String("emf")) return clipboardMetafile(path);
    if (format.isEmpty() || format == QLatin1String("ico")) throw PictureRefused{};
    const QImage picture = platform::decodePicture(readPictureFile(path, platform::kMaxPictureFileSize), format);
    if (picture.isNull()) throw PictureRefused{};
    auto* mime = new QMimeData;
    if (format == QLatin1String("bmp")) {
        mime->setImageData(picture);
        return mime;
    }
    QImage bitmap(picture.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    QPainter(&bitmap).drawImage(0, 0, picture);
    mime->setImageData(bitmap);
    return mime;
}

}  // namespace

// ---- picture ------------------------------------------------------------------------------------

void TMainform::Obrzek1Click() {
    ProgramDir = platform::executableDir();
    ClipartDir = ProgramDir + QStringLiteral("clipart/");
    platform::FileDialogRequest request;
    request.filters = pictureFilters();
    request.initialDir = ClipartDir;
    request.picturePreview = true;
    try {
        const std::optional<platform::FileDialogResult> chosen = platform::dialogs().openFile(this, request);
        if (!chosen) return;
        QApplication::clipboard()->setMimeData(clipboardPicture(chosen->fileName));
        editor->PasteFromClipboard();
    } catch (const std::exception&) {
        // A refused picture and whatever else fails on the way are reported alike.
        platform::dialogs().errorMessage(this, kPictureRefused);
    }
}

void TMainform::VloitBitmapu1Click() { Obrzek1Click(); }

// ---- date and time ------------------------------------------------------------------------------

void TMainform::Datum1Click() {
    editor->Lines()->AddLine(DateTimeText(QDateTime::currentDateTime()));
    editor->setFocus();
}

void TMainform::Vloitdatumaas1Click() { Datum1Click(); }

// ---- object -------------------------------------------------------------------------------------

void TMainform::Dal2Click() {
    editor->ShowInsertObjectDialog();
    editor->setFocus();
}

void TMainform::Dal3Click() { Dal2Click(); }

// ---- zoom and links -----------------------------------------------------------------------------

void TMainform::meritkozobrazClick() {
    static constexpr int kZoom[] = {25, 50, 75, 100, 150, 200, 250, 500};
    const int item = meritkozobraz->currentIndex();
    if (item >= 0 && item < int(std::size(kZoom))) editor->SetZoom(kZoom[item]);
    editor->setFocus();
}

void TMainform::editorURLClick(const QString& urlText, Qt::MouseButton) {
    // Left and right button alike; a link that is refused or cannot be opened is ignored.
    if (const std::optional<QUrl> target = SafeLinkTarget(urlText)) platform::openUrl(target->toString());
}

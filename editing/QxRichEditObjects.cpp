// Embedded objects on the control: the container callback that lets the engine take pictures, the
// engine switches that rebuild its window (objects, drag and drop) and its language options, the
// insert-object and properties dialogs, and the verb items a selected picture adds to the context
// menu. The objects are pictures; their one verb opens the picture in the desktop's image viewer.

#include "editing/QxRichEdit.h"

#include "platform/dialogs/dialogs.h"
#include "platform/errors.h"
#include "platform/picture/picture.h"
#include "platform/richedit/engine.h"
#include "platform/richedit/textformat.h"
#include "platform/shell.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryFile>
#include <QUrl>

using namespace richedit;

namespace {

// The container's answers: every insertion and every paste is accepted; the engine handles the data.
class TRichEditOleCallback final : public Engine::ObjectCallback {
public:
    bool queryInsertObject(int) override { return true; }
    bool queryAcceptData(const QMimeData*) override { return true; }
};

constexpr int kTwipsPerPixel = 15;  // pictures' own size: their pixels at 96 dpi

QString fileSuffix(const QString& format) {
    if (format == QLatin1String("jpeg")) return QStringLiteral("jpg");
    if (format == QLatin1String("dib")) return QStringLiteral("bmp");
    return format;
}

}  // namespace

std::unique_ptr<Engine::ObjectCallback> TQxRichEdit::MakeObjectCallback() { return std::make_unique<TRichEditOleCallback>(); }

QString TQxRichEdit::PictureTypeName() { return QStringLiteral("Obrázek"); }

// ---- settings that reach the engine ---------------------------------------------------------------

void TQxRichEdit::ApplyObjectSettings(Engine& engine) const {
    engine.setLangOptions(uint(langOptions_.toInt()));
    engine.setObjectCallback(allowObjects_ ? oleCallback_.get() : nullptr);
    engine.setDragDrop(oleDragDrop_);
}

void TQxRichEdit::SetAllowObjects(bool allow) {
    if (allow == allowObjects_) return;
    allowObjects_ = allow;
    RecreateWnd();
}

void TQxRichEdit::SetOLEDragDrop(bool on) {
    if (on == oleDragDrop_) return;
    oleDragDrop_ = on;
    RecreateWnd();
}

void TQxRichEdit::SetLangOptions(TRichLangOptions options) {
    langOptions_ = options;
    if (engine_) engine_->setLangOptions(uint(options.toInt()));
}

// ---- the selected picture -----------------------------------------------------------------------

bool TQxRichEdit::PictureSelected() {
    if (!engine_ || !allowObjects_) return false;
    if (engine_->selectionType() != SEL_OBJECT) return false;
    Picture picture;
    return engine_->getObject(engine_->exGetSel().cpMin, picture);
}

bool TQxRichEdit::ShowObjectPropertiesDialog() {
    if (!PictureSelected()) return false;
    const int cp = engine_->exGetSel().cpMin;
    Picture picture;
    engine_->getObject(cp, picture);
    const QImage image = platform::decodePicture(picture.data, picture.format);
    platform::ObjectProperties properties;
    properties.typeName = PictureTypeName();
    properties.pixelSize = image.size();
    properties.displayedTwips = QSize(picture.widthTwips, picture.heightTwips);
    const int naturalWidth = image.width() * kTwipsPerPixel;
    properties.scalePercent = naturalWidth > 0 ? qRound(100.0 * picture.widthTwips / naturalWidth) : 100;
    const std::optional<int> scale = platform::dialogs().objectProperties(this, properties);
    if (!scale) return false;
    if (!image.isNull() && *scale > 0) {
        const int w = int(std::max<qint64>(1, qint64(image.width()) * kTwipsPerPixel * *scale / 100));
        const int h = int(std::max<qint64>(1, qint64(image.height()) * kTwipsPerPixel * *scale / 100));
        engine_->setObjectSize(cp, w, h);
    }
    return true;
}

bool TQxRichEdit::ShowInsertObjectDialog() {
    if (!allowObjects_) return false;
    platform::FileDialogRequest request;
    request.filters = {{QStringLiteral("Obrázky (*.bmp;*.jpg;*.jpeg;*.png)"), QStringLiteral("*.bmp;*.jpg;*.jpeg;*.png")}};
    const std::optional<QString> fileName = platform::dialogs().insertObject(this, request);
    if (!fileName) return false;
    QFile file(*fileName);
    if (file.size() > platform::kMaxPictureFileSize || !file.open(QIODevice::ReadOnly))
        throw platform::EFOpenError(QStringLiteral("Cannot open file \"%1\".").arg(QDir::toNativeSeparators(*fileName)));
    Picture picture;
    picture.data = file.readAll();
    picture.format = platform::detectPictureFormat(picture.data);
    // Only what the engine can keep and save as a picture becomes an object.
    const QImage image = platform::decodePicture(picture.data, picture.format);
    if (image.isNull() || picture.format == QLatin1String("ico"))
        throw platform::EInvalidOperation(QStringLiteral("Unsupported picture format in \"%1\".").arg(QDir::toNativeSeparators(*fileName)));
    Engine& engine = HandleNeeded();
    const int start = engine.exGetSel().cpMin;
    engine.insertPicture(picture);
    Picture inserted;
    if (!engine.getObject(start, inserted)) return false;  // the engine refused it (text limit)
    engine.exSetSel({start, start + 1});
    engine.scrollCaret();
    return true;
}

// ---- context menu with a selected picture -----------------------------------------------------------

QMenu* TQxRichEdit::ExtendContextMenu(QMenu* menu) {
    // The items of the previous request go with their menu.
    delete objectVerbMenu_.data();
    if (!autoVerbMenu_ || !PictureSelected()) return menu;
    const int cp = engine_->exGetSel().cpMin;
    const QString type = PictureTypeName();
    objectVerbMenu_ = new QMenu(type, this);
    objectVerbMenu_->setObjectName(QStringLiteral("ObjectVerbMenu"));
    QAction* open = objectVerbMenu_->addAction(QStringLiteral("Otevřít"));
    open->setObjectName(QStringLiteral("verb0"));
    objectVerbMenu_->setDefaultAction(open);
    connect(open, &QAction::triggered, this, [this, cp] { PerformPictureVerb(cp); });
    auto* properties = new QAction(QStringLiteral("%1 Properties").arg(type), objectVerbMenu_);
    properties->setObjectName(QStringLiteral("objectProperties"));
    connect(properties, &QAction::triggered, this, [this] { ShowObjectPropertiesDialog(); });
    if (menu && !menu->actions().isEmpty()) {
        auto* separator = new QAction(objectVerbMenu_);
        separator->setSeparator(true);
        menu->addAction(separator);
        menu->addAction(properties);
        menu->addAction(objectVerbMenu_->menuAction());
        return menu;
    }
    objectVerbMenu_->insertAction(open, properties);
    return objectVerbMenu_;
}

void TQxRichEdit::PerformPictureVerb(int cp) {
    Picture picture;
    if (!engine_ || !engine_->getObject(cp, picture)) return;
    // The viewer reads the picture from a file that lives as long as the control.
    auto* file = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/quillex-XXXXXX.") + fileSuffix(picture.format), this);
    if (!file->open() || file->write(picture.data) != picture.data.size() || !file->flush()) {
        delete file;
        throw platform::EFCreateError(QStringLiteral("Cannot create a temporary file for the picture."));
    }
    file->close();
    if (!platform::openUrl(QUrl::fromLocalFile(file->fileName()).toString()))
        throw platform::EInvalidOperation(QStringLiteral("No program opens the picture."));
}

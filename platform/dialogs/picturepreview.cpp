#include "platform/dialogs/picturepreview.h"

#include "platform/picture/picture.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace platform {

void addPicturePreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("picturePreview"));
    preview->setFixedSize(160, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        // Only regular files of a moderate size: the preview must not stall on a large file.
        const QFileInfo info(path);
        QImage image;
        if (info.isFile() && info.size() <= 32 * 1024 * 1024) image = loadPictureFile(path);
        if (image.isNull()) {
            preview->clear();
            return;
        }
        preview->setPixmap(QPixmap::fromImage(image.scaled(preview->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation)));
    });
}

}  // namespace platform

// The insert-object and object-properties dialogs of the Qt implementation. Objects here are
// pictures: the insert-object dialog creates one from a picture file.
#include "platform/dialogs/picturepreview.h"
#include "platform/dialogs/qtdialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace platform {

namespace {

bool czech() { return QLocale().language() == QLocale::Czech; }
QString t(const char16_t* cs, const char16_t* en) { return QString::fromUtf16(czech() ? cs : en); }

QString centimetres(int twips) { return QLocale().toString(twips / 567.0, 'f', 2); }

}  // namespace

std::optional<QString> QtDialogs::insertObject(QWidget* owner, const FileDialogRequest& request) {
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("InsertObjectDialog"));
    dialog.setWindowTitle(t(u"Vložit objekt", u"Insert Object"));
    auto* fromFile = new QRadioButton(t(u"Vytvořit ze &souboru", u"Create from &File"), &dialog);
    fromFile->setChecked(true);
    auto* file = new QLineEdit(&dialog);
    file->setObjectName(QStringLiteral("objectFile"));
    auto* browse = new QPushButton(t(u"&Procházet...", u"&Browse..."), &dialog);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file, 1);
    fileRow->addWidget(browse);
    auto* result = new QLabel(t(u"Vloží do dokumentu obrázek ze souboru.", u"Inserts the picture in the file into your document."),
                              &dialog);
    result->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(file, &QLineEdit::textChanged, ok, [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        FileDialogRequest browseRequest = request;
        browseRequest.picturePreview = true;
        if (auto chosen = openFile(&dialog, browseRequest)) file->setText(chosen->fileName);
    });
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fromFile);
    layout->addLayout(fileRow);
    layout->addWidget(result);
    layout->addWidget(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return file->text().trimmed();
}

std::optional<int> QtDialogs::objectProperties(QWidget* owner, const ObjectProperties& properties) {
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("ObjectPropertiesDialog"));
    dialog.setWindowTitle(QStringLiteral("%1 Properties").arg(properties.typeName));
    auto* form = new QFormLayout;
    form->addRow(t(u"Typ:", u"Type:"), new QLabel(properties.typeName, &dialog));
    form->addRow(t(u"Velikost v pixelech:", u"Size in pixels:"),
                 new QLabel(QStringLiteral("%1 × %2").arg(properties.pixelSize.width()).arg(properties.pixelSize.height()), &dialog));
    auto* shown = new QLabel(&dialog);
    form->addRow(t(u"Zobrazená velikost:", u"Displayed size:"), shown);
    auto* scale = new QSpinBox(&dialog);
    scale->setObjectName(QStringLiteral("scale"));
    scale->setRange(1, 1000);
    scale->setSuffix(QStringLiteral(" %"));
    scale->setValue(std::clamp(properties.scalePercent, 1, 1000));
    form->addRow(t(u"&Měřítko:", u"&Scale:"), scale);
    auto showSize = [&](int percent) {
        // The size the picture will have at the chosen scale, from its own pixels at 96 dpi.
        const int w = properties.pixelSize.width() * 15 * percent / 100;
        const int h = properties.pixelSize.height() * 15 * percent / 100;
        shown->setText(QStringLiteral("%1 × %2 cm").arg(centimetres(w), centimetres(h)));
    };
    if (properties.scalePercent == scale->value()) {
        shown->setText(QStringLiteral("%1 × %2 cm")
                           .arg(centimetres(properties.displayedTwips.width()), centimetres(properties.displayedTwips.height())));
    } else {
        showSize(scale->value());
    }
    QObject::connect(scale, &QSpinBox::valueChanged, &dialog, showSize);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return scale->value();
}

}  // namespace platform

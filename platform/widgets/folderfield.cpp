#include "platform/widgets/folderfield.h"

#include "platform/dialogs/dialogs.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace platform {

FolderField::FolderField(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_, 1);
    button_->setText(QStringLiteral("..."));
    layout->addWidget(button_);
    connect(button_, &QToolButton::clicked, this, &FolderField::browse);
}

QString FolderField::text() const { return edit_->text(); }
void FolderField::setText(const QString& text) { edit_->setText(text); }

void FolderField::browse() {
    const QString current = edit_->text();
    const QString start = !current.isEmpty() && QDir(current).exists() ? current : QStringLiteral("/");
    if (const std::optional<QString> chosen = dialogs().chooseFolder(window(), prompt_, start)) edit_->setText(*chosen);
}

}  // namespace platform

#pragma once
// A folder field: a text field with a button that opens the folder dialog with the field's prompt,
// starting at the folder in the field ("/" when it names no existing folder). A confirmed choice
// replaces the text.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace platform {

class FolderField : public QWidget {
    Q_OBJECT
public:
    explicit FolderField(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);
    void setPrompt(const QString& prompt) { prompt_ = prompt; }
    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    void browse();  // what the button does

private:
    QLineEdit* edit_;
    QToolButton* button_;
    QString prompt_;
};

}  // namespace platform

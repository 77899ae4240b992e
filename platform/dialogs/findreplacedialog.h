#pragma once
// The modeless find and replace dialogs: a search text (and, for replace, a replacement text) of at
// most 255 characters, direction up or down, match case and whole word, with Find Next, Replace,
// Replace All and Cancel. The dialog only collects the request; its owner does the searching when a
// button signal arrives. Closing hides the dialog: its texts and options stay for the next showing.
// The search buttons are disabled while the search text is empty.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Find, Replace };
    static constexpr int kMaxTextLength = 255;

    FindReplaceDialog(Kind kind, QWidget* owner);

    Kind kind() const { return kind_; }
    QString findText() const;
    void setFindText(const QString& text);  // cut to kMaxTextLength
    QString replaceText() const;
    void setReplaceText(const QString& text);
    bool down() const;
    void setDown(bool down);
    bool matchCase() const;
    void setMatchCase(bool on);
    bool wholeWord() const;
    void setWholeWord(bool on);
    // Hides the up/down choice (the searches then always go down).
    void setDirectionHidden(bool hidden);
    bool directionHidden() const { return directionHidden_; }

    // Shows the dialog without blocking, or brings it to the front when it is already shown.
    void showOrRaise();

    // The buttons, for keyboard-free use by tests and for the owner's connections.
    QPushButton* findNextButton() const { return findNext_; }
    QPushButton* replaceButton() const { return replace_; }      // nullptr in the find dialog
    QPushButton* replaceAllButton() const { return replaceAll_; }  // nullptr in the find dialog
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();
    void closed();  // Cancel, Escape or the window's close button; the dialog is hidden

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    void reject() override;

private:
    void updateButtons();

    Kind kind_;
    bool directionHidden_ = false;
    QLineEdit* find_ = nullptr;
    QLineEdit* replaceWith_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QGroupBox* direction_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace platform

#include "platform/dialogs/findreplacedialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

namespace {

// The dialogs speak the desktop's language, as the other platform dialogs do: Czech on a Czech
// desktop, English elsewhere.
struct Texts {
    const char16_t* findTitle;
    const char16_t* replaceTitle;
    const char16_t* findWhat;
    const char16_t* replaceWith;
    const char16_t* wholeWord;
    const char16_t* matchCase;
    const char16_t* direction;
    const char16_t* up;
    const char16_t* down;
    const char16_t* findNext;
    const char16_t* replace;
    const char16_t* replaceAll;
    const char16_t* cancel;
};

const Texts& texts() {
    static const Texts czech{u"Najít", u"Nahradit", u"&Najít:", u"Nahradit &čím:", u"&Pouze celá slova",
                             u"&Rozlišovat malá a velká", u"Směr", u"Na&horu", u"&Dolů", u"Najít &další",
                             u"Nah&radit", u"Nahradit &vše", u"Storno"};
    static const Texts english{u"Find", u"Replace", u"Fi&nd what:", u"Re&place with:", u"Match &whole word only",
                               u"Match &case", u"Direction", u"&Up", u"&Down", u"&Find Next", u"&Replace",
                               u"Replace &All", u"Cancel"};
    return QLocale().language() == QLocale::Czech ? czech : english;
}

QString s(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

FindReplaceDialog::FindReplaceDialog(Kind kind, QWidget* owner) : QDialog(owner), kind_(kind) {
    const Texts& t = texts();
    const bool replacing = kind == Kind::Replace;
    setObjectName(replacing ? QStringLiteral("EditorReplaceDialog") : QStringLiteral("EditorFindDialog"));
    setWindowTitle(s(replacing ? t.replaceTitle : t.findTitle));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* fields = new QGridLayout;
    find_ = new QLineEdit(this);
    find_->setObjectName(QStringLiteral("findText"));
    find_->setMaxLength(kMaxTextLength);
    auto* findLabel = new QLabel(s(t.findWhat), this);
    findLabel->setBuddy(find_);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(find_, 0, 1);
    if (replacing) {
        replaceWith_ = new QLineEdit(this);
        replaceWith_->setObjectName(QStringLiteral("replaceText"));
        replaceWith_->setMaxLength(kMaxTextLength);
        auto* replaceLabel = new QLabel(s(t.replaceWith), this);
        replaceLabel->setBuddy(replaceWith_);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(replaceWith_, 1, 1);
    }

    wholeWord_ = new QCheckBox(s(t.wholeWord), this);
    matchCase_ = new QCheckBox(s(t.matchCase), this);
    direction_ = new QGroupBox(s(t.direction), this);
    up_ = new QRadioButton(s(t.up), direction_);
    down_ = new QRadioButton(s(t.down), direction_);
    down_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction_);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(wholeWord_);
    checks->addWidget(matchCase_);
    options->addLayout(checks);
    options->addWidget(direction_);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    findNext_ = new QPushButton(s(t.findNext), this);
    findNext_->setObjectName(QStringLiteral("findNext"));
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    connect(findNext_, &QPushButton::clicked, this, &FindReplaceDialog::findNextRequested);
    if (replacing) {
        replace_ = new QPushButton(s(t.replace), this);
        replace_->setObjectName(QStringLiteral("replace"));
        replaceAll_ = new QPushButton(s(t.replaceAll), this);
        replaceAll_->setObjectName(QStringLiteral("replaceAll"));
        buttons->addWidget(replace_);
        buttons->addWidget(replaceAll_);
        connect(replace_, &QPushButton::clicked, this, &FindReplaceDialog::replaceRequested);
        connect(replaceAll_, &QPushButton::clicked, this, &FindReplaceDialog::replaceAllRequested);
    }
    cancel_ = new QPushButton(s(t.cancel), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(cancel_);
    buttons->addStretch();
    connect(cancel_, &QPushButton::clicked, this, &FindReplaceDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(find_, &QLineEdit::textChanged, this, &FindReplaceDialog::updateButtons);
    updateButtons();
}

QString FindReplaceDialog::findText() const { return find_->text(); }
void FindReplaceDialog::setFindText(const QString& text) { find_->setText(text.left(kMaxTextLength)); }
QString FindReplaceDialog::replaceText() const { return replaceWith_ ? replaceWith_->text() : QString(); }
void FindReplaceDialog::setReplaceText(const QString& text) {
    if (replaceWith_) replaceWith_->setText(text.left(kMaxTextLength));
}
bool FindReplaceDialog::down() const { return directionHidden_ || down_->isChecked(); }
void FindReplaceDialog::setDown(bool down) { (down ? down_ : up_)->setChecked(true); }
bool FindReplaceDialog::matchCase() const { return matchCase_->isChecked(); }
void FindReplaceDialog::setMatchCase(bool on) { matchCase_->setChecked(on); }
bool FindReplaceDialog::wholeWord() const { return wholeWord_->isChecked(); }
void FindReplaceDialog::setWholeWord(bool on) { wholeWord_->setChecked(on); }

void FindReplaceDialog::setDirectionHidden(bool hidden) {
    directionHidden_ = hidden;
    direction_->setVisible(!hidden);
}

void FindReplaceDialog::showOrRaise() {
    show();
    raise();
    activateWindow();
    find_->setFocus();
}

void FindReplaceDialog::updateButtons() {
    const bool searchable = !find_->text().isEmpty();
    findNext_->setEnabled(searchable);
    if (replace_) replace_->setEnabled(searchable);
    if (replaceAll_) replaceAll_->setEnabled(searchable);
}

void FindReplaceDialog::reject() {
    hide();
    emit closed();
}

void FindReplaceDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

}  // namespace platform

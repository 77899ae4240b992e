// The real dialogs: the confirmation box's buttons and title, and the file dialogs showing the
// program's type labels as written while filtering by their patterns.
#include "platform/dialogs/qtdialogs.h"

#include "tests/support/testregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the modal dialog as soon as it is shown.
void whenModalShown(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        // Offscreen, the modal stack may not name the dialog yet: any shown dialog will do.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!modal && w->isVisible() && qobject_cast<QDialog*>(w)) modal = w;
        if (modal) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b;
    return nullptr;
}

const QList<platform::FileFilter> kOpenFilters{
    {QStringLiteral("Textové dokumenty(*.rtf;*.doc;*.qlx)"), QStringLiteral("*.rtf;*.doc;*.qlx;")},
    {QStringLiteral("Neformatovaný text(*.txt]"), QStringLiteral("*.txt;")},
    {QStringLiteral("Všechny soubory(*.*)"), QStringLiteral("*.*;")},
};

}  // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void confirmationBox_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<platform::ConfirmAnswer>("answer");
        QTest::newRow("yes") << QStringLiteral("&Yes") << platform::ConfirmAnswer::Yes;
        QTest::newRow("no") << QStringLiteral("&No") << platform::ConfirmAnswer::No;
        QTest::newRow("cancel") << QStringLiteral("Cancel") << platform::ConfirmAnswer::Cancel;
        QTest::newRow("closed") << QString() << platform::ConfirmAnswer::Cancel;
    }
    void confirmationBox() {
        QFETCH(QString, button);
        QFETCH(platform::ConfirmAnswer, answer);
        QString title;
        int buttons = 0;
        whenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            title = box->windowTitle();
            buttons = int(box->buttons().size());
            if (button.isEmpty()) box->reject();  // the close button or Escape
            else buttonWithText(box, button)->click();
        });
        platform::QtDialogs dialogs;
        QCOMPARE(dialogs.confirm(nullptr, QStringLiteral("Uložit změny?")), answer);
        QCOMPARE(title, QStringLiteral("Confirm"));
        QCOMPARE(buttons, 3);
    }

    void messageBoxIsTitledWithTheApplication() {
        QString title, text;
        whenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        platform::QtDialogs().message(nullptr, QStringLiteral("Nelze uložit konfiguraci"));
        QCOMPARE(title, QStringLiteral("Quillex"));
        QCOMPARE(text, QStringLiteral("Nelze uložit konfiguraci"));
    }

    void openDialogShowsLabelsAndFiltersByPattern() {
        QTemporaryDir dir;
        QStringList labels;
        QStringList modelFilters;
        bool anyFile = false;
        whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            labels = dialog->nameFilters();
            modelFilters = dialog->findChild<QFileSystemModel*>()->nameFilters();
            anyFile = dialog->fileMode() == QFileDialog::AnyFile;
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("nový.txt"));  // typed, as a user does
            // done() rather than accept(): accept() checks the typed name against the file model,
            // which lists the folder on a thread of its own, and that made the test hang now and then.
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        platform::FileDialogRequest request;
        request.filters = kOpenFilters;
        request.filterIndex = 2;
        request.initialDir = dir.path();
        const auto result = platform::QtDialogs().openFile(nullptr, request);
        QCOMPARE(labels, (QStringList{kOpenFilters[0].label, kOpenFilters[1].label, kOpenFilters[2].label}));
        QCOMPARE(modelFilters, QStringList{QStringLiteral("*.txt")});
        QVERIFY(anyFile);  // a typed name of a file that does not exist is accepted
        QVERIFY(result);
        QCOMPARE(result->fileName, dir.filePath(QStringLiteral("nový.txt")));
    }

    void saveDialogAddsTheTypesExtension() {
        QTemporaryDir dir;
        whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("dopis"));
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        platform::FileDialogRequest request;
        request.filters = {{QStringLiteral("Quillex text(*.qlx)"), QStringLiteral("*.qlx")},
                           {QStringLiteral("Webová stránka(*.html;*.htm)"), QStringLiteral("*.html;*.htm")}};
        request.filterIndex = 2;
        request.initialDir = dir.path();
        const auto result = platform::QtDialogs().saveFile(nullptr, request);
        QVERIFY(result);
        QCOMPARE(result->fileName, dir.filePath(QStringLiteral("dopis.html")));
        QCOMPARE(result->filterIndex, 2);
    }
};

QX_REGISTER_TEST(QtDialogsTest)
#include "tst_qtdialogs.moc"

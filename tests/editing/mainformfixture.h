#pragma once
// The main window shown and active in a temporary program folder, with scripted dialogs, and small
// helpers that write and read the format of single characters through the attribute accessors.

#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"

#include <QApplication>
#include <QTest>

#include <functional>

namespace qxtest {

struct ShownMainform {
    ProgramFolder folder;
    ScopedDialogs dialogs;
    TMainform form;

    explicit ShownMainform(const QString& text = QString()) {
        form.FormCreate({});
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form)) qWarning("the main window did not become active");
        if (!text.isEmpty()) form.editor->SetSelText(text);
        form.editor->SetModified(false);
    }

    TQxRichEdit& editor() { return *form.editor; }
    QWidget* editorKeys() { return form.editor->EngineWindow()->viewport(); }
    void select(int from, int to) { form.editor->HandleNeeded().exSetSel({from, to}); }
    bool editorHasFocus() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus && (focus == form.editor || form.editor->isAncestorOf(focus));
    }
    void clickAt(int position) {
        richedit::Engine* engine = form.editor->EngineWindow();
        QTest::mouseClick(engine->viewport(), Qt::LeftButton, {}, engine->posFromChar(position) + QPoint(1, 4));
    }

    // One code per character from `from`: what `read` gives for that character alone, as a digit.
    QString perCharacter(int from, int to, const std::function<int()>& read) {
        QString codes;
        for (int i = from; i < to; ++i) {
            select(i, i + 1);
            codes += QString::number(read(), 16).toUpper();
        }
        return codes;
    }
    // Styles per character as hex digits: bold 1, italic 2, underline 4, strikeout 8.
    QString styles(int from, int to) {
        return perCharacter(from, to, [this] { return form.editor->SelAttributes().Style().toInt(); });
    }
    void setStyles(int from, const QString& codes) {
        for (int i = 0; i < codes.size(); ++i) {
            select(from + i, from + i + 1);
            form.editor->SelAttributes().SetStyle(TFontStyles::fromInt(QString(codes[i]).toInt(nullptr, 16)));
        }
    }
    // Sub- and superscript per character: 0 none, 1 subscript, 2 superscript.
    QString indices(int from, int to) {
        return perCharacter(from, to, [this] { return int(form.editor->SelAttributes().SubscriptStyle()); });
    }
    void setIndices(int from, const QString& codes) {
        for (int i = 0; i < codes.size(); ++i) {
            select(from + i, from + i + 1);
            form.editor->SelAttributes().SetSubscriptStyle(TSubscriptStyle(codes[i].digitValue()));
        }
    }
};

}  // namespace qxtest

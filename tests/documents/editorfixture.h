#pragma once
// An editor control with the storage layer's line store attached, and small helpers for files.

#include "documents/QxRichEditStrings.h"
#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

#include <QFile>
#include <QString>

#include <memory>

struct EditorFixture {
    TQxRichEdit editor;
    TQxRichEditStrings* lines = nullptr;

    EditorFixture() {
        auto store = std::make_unique<TQxRichEditStrings>(editor);
        lines = store.get();
        editor.SetLines(std::move(store));
    }
    richedit::Engine& engine() { return editor.HandleNeeded(); }
    // The whole text as the user sees it, CR LF at each paragraph break.
    QString text() { return engine().windowText(); }
    // Replaces the content with `text` ("\r" breaks paragraphs) and makes all of it bold.
    void setBoldText(const QString& content) {
        engine().setWindowText(content);
        engine().setSel(0, -1);
        richedit::CHARFORMAT2 bold;
        bold.dwMask = richedit::CFM_BOLD;
        bold.dwEffects = richedit::CFE_BOLD;
        engine().setCharFormat(richedit::SCF_SELECTION, bold);
        engine().setSel(0, 0);
    }
    // Whether every character is bold.
    bool allBold() {
        engine().setSel(0, -1);
        const richedit::CHARFORMAT2 format = engine().getCharFormat(richedit::SCF_SELECTION);
        engine().setSel(0, 0);
        return (format.dwMask & richedit::CFM_BOLD) && (format.dwEffects & richedit::CFE_BOLD);
    }
};

inline QByteArray readFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

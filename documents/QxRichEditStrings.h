#pragma once
// TQxRichEditStrings: the line store of the editor control. It keeps no text of its own: it moves the
// whole document between the control and files or streams through the conversions, switches the
// control between rich and plain text, and reads and changes the control's display lines.

#include "editing/QxLines.h"

#include <QObject>

#include <functional>

class TQxRichEdit;
class TQxConversion;
class QIODevice;

namespace richedit {
class Engine;
}

// Raised with the percentage done whenever it changes during a transfer. `Sender` is the editor.
using TConversionProgressEvent = std::function<void(QObject* Sender, int PercentDone)>;

class TQxRichEditStrings : public TQxLines {
public:
    explicit TQxRichEditStrings(TQxRichEdit& editor);

    // Loading replaces the content (or the selection with smSelection) and puts the caret at the start.
    // A source the control rejects in the chosen format is read again in the other one when the
    // conversion allows it. Failures raise: the file layer's error naming the file when it cannot be
    // opened, "Failed to Load Stream" when the control rejects the data; the content is then as before.
    void LoadFile(const QString& fileName) override;
    void LoadStream(QIODevice& stream) override;
    // Saving writes the content in the chosen format. A file is replaced only when the whole document
    // was written and committed; on any failure the previous file stays as it was and the error
    // ("Failed to Save Stream", or the file layer's error naming the file) is raised.
    void SaveFile(const QString& fileName) override;
    void SaveStream(QIODevice& stream) override;
    void SwitchTextMode(TextMode mode) override;

    // Lines as the control lays them out; an empty last line is not counted.
    int LineCount() const override;
    // The line without its break, cut to its first 4096 characters; empty for a line that does not exist.
    QString LineText(int index) const override;
    void ReplaceLine(int index, const QString& text) override;
    void InsertLine(int index, const QString& text) override;
    void AddLine(const QString& text) override;
    void DeleteLine(int index) override;
    void Clear() override;
    void AddLines(const QStringList& texts) override;
    void SetAllText(const QString& text) override;
    void SetUpdating(UpdateState state) override;

    TConversionProgressEvent OnConversionProgress;

private:
    enum class Transfer { Rich, Plain };

    Transfer ChooseFormat(TQxConversion& conversion) const;
    void Load(TQxConversion& conversion);
    void Save(TQxConversion& conversion);
    void ReplaceRange(int from, int to, const QString& text);

    TQxRichEdit& editor_;
};
